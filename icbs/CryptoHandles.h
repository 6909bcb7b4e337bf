// Move-only owners of CryptoAPI handles: provider contexts, keys and hashes.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "framework/Handles.h"

namespace icbs {

struct CryptProviderTraits {
    using Type = HCRYPTPROV;
    static Type Empty() noexcept { return 0; }
    static bool IsEmpty(Type h) noexcept { return h == 0; }
    static void Close(Type h) noexcept { ::CryptReleaseContext(h, 0); }
};
struct CryptKeyTraits {
    using Type = HCRYPTKEY;
    static Type Empty() noexcept { return 0; }
    static bool IsEmpty(Type h) noexcept { return h == 0; }
    static void Close(Type h) noexcept { ::CryptDestroyKey(h); }
};
struct CryptHashTraits {
    using Type = HCRYPTHASH;
    static Type Empty() noexcept { return 0; }
    static bool IsEmpty(Type h) noexcept { return h == 0; }
    static void Close(Type h) noexcept { ::CryptDestroyHash(h); }
};

using CryptProvider = fw::UniqueHandle<CryptProviderTraits>;
using CryptKey = fw::UniqueHandle<CryptKeyTraits>;
using CryptHash = fw::UniqueHandle<CryptHashTraits>;

}  // namespace icbs
