// The owner of a resource update (BeginUpdateResourceW): an update still
// held when its owner ends is discarded (EndUpdateResourceW with fDiscard);
// committing releases the handle into EndUpdateResourceW(..., FALSE).
#pragma once

#include "framework/Handles.h"

namespace fw {

struct ResourceUpdateTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsEmpty(Type h) noexcept { return h == nullptr; }
    static void Close(Type h) noexcept { ::EndUpdateResourceW(h, TRUE); }
};
using ResourceUpdateHandle = UniqueHandle<ResourceUpdateTraits>;

}  // namespace fw
