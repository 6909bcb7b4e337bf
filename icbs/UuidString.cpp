#include "icbs/UuidString.h"

#include <windows.h>
#include <rpc.h>

namespace icbs {

bool NewUuidString(std::wstring& target) {
    UUID uuid;
    RPC_STATUS status = ::UuidCreate(&uuid);
    if (status != RPC_S_OK && status != RPC_S_UUID_LOCAL_ONLY) return false;
    RPC_WSTR text = nullptr;
    if (::UuidToStringW(&uuid, &text) != RPC_S_OK || text == nullptr) return false;
    target.assign(reinterpret_cast<const wchar_t*>(text));
    ::RpcStringFreeW(&text);
    return true;
}

}  // namespace icbs
