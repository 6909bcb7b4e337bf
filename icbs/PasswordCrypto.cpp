#include "icbs/PasswordCrypto.h"

#include <vector>

#include "framework/SystemApi.h"
#include "icbs/CryptoHandles.h"

namespace icbs {

namespace {

// Shared with the installed packages: they derive the same key from it.
constexpr char kPassPhrase[] = "3f9b07c2d15e48a6b0c4e71f92d8a35c";

// The process-wide provider and key, made on first use. Used from the
// user-interface thread only, so there is no lock.
struct CryptoState {
    CryptProvider provider;
    CryptKey key;
};
CryptoState& State() {
    static CryptoState state;
    return state;
}

CryptProvider AcquireBaseProvider() {
    CryptProvider provider;
    if (::CryptAcquireContextW(provider.put(), nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, 0)) return provider;
    // The user's default key container may not exist (always so for a new
    // account). The derived session key does not depend on any container,
    // so a context without one gives the same key.
    if (::CryptAcquireContextW(provider.put(), nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return provider;
    return CryptProvider();
}

// RC4 of the provider's default length (40 bits in the base provider), its
// salt made from the hash bits after the key.
CryptKey DeriveKey(HCRYPTPROV provider) {
    CryptHash hash;
    if (!::CryptCreateHash(provider, CALG_SHA1, 0, 0, hash.put())) return CryptKey();
    if (!::CryptHashData(hash.get(), reinterpret_cast<const BYTE*>(kPassPhrase), sizeof(kPassPhrase) - 1, 0))
        return CryptKey();
    CryptKey key;
    if (!::CryptDeriveKey(provider, CALG_RC4, hash.get(), CRYPT_EXPORTABLE | CRYPT_CREATE_SALT, key.put()))
        return CryptKey();
    return key;
}

HCRYPTKEY Key() {
    CryptoState& state = State();
    if (state.key) return state.key.get();
    if (!state.provider) state.provider = AcquireBaseProvider();
    if (!state.provider) return 0;
    state.key = DeriveKey(state.provider.get());
    return state.key.get();
}

std::wstring ToBase64(const std::vector<BYTE>& data) {
    DWORD length = 0;
    if (!fw::Crypt32().CryptBinaryToStringW(data.data(), static_cast<DWORD>(data.size()), CRYPT_STRING_BASE64, nullptr, &length))
        return std::wstring();
    std::vector<wchar_t> text(length + 1);
    if (!fw::Crypt32().CryptBinaryToStringW(data.data(), static_cast<DWORD>(data.size()), CRYPT_STRING_BASE64, text.data(), &length))
        return std::wstring();
    return std::wstring(text.data(), length);
}

bool FromBase64(std::wstring_view text, std::vector<BYTE>& data) {
    DWORD length = 0;
    if (!fw::Crypt32().CryptStringToBinaryW(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64, nullptr, &length,
                                nullptr, nullptr))
        return false;
    data.assign(length, 0);
    if (!fw::Crypt32().CryptStringToBinaryW(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64, data.data(),
                                &length, nullptr, nullptr))
        return false;
    data.resize(length);
    return true;
}

}  // namespace

std::wstring EncryptPassword(std::wstring_view plain) {
    if (plain.empty()) return std::wstring();
    // Without a key nothing is handed out: never the plain text.
    HCRYPTKEY key = Key();
    if (!key) return std::wstring();
    std::vector<BYTE> data(reinterpret_cast<const BYTE*>(plain.data()),
                           reinterpret_cast<const BYTE*>(plain.data() + plain.size()));
    DWORD length = static_cast<DWORD>(data.size());
    if (!::CryptEncrypt(key, 0, TRUE, 0, data.data(), &length, static_cast<DWORD>(data.size())) ||
        length != data.size())
        return std::wstring();
    return ToBase64(data);
}

std::wstring DecryptPassword(std::wstring_view encoded) {
    HCRYPTKEY key = Key();
    if (!key) return std::wstring(encoded);
    if (encoded.empty()) return std::wstring();
    std::vector<BYTE> data;
    if (!FromBase64(encoded, data) || data.empty()) return std::wstring();
    DWORD length = static_cast<DWORD>(data.size());
    if (!::CryptDecrypt(key, 0, TRUE, 0, data.data(), &length)) return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), length / sizeof(wchar_t));
}

void ReleaseCrypto() {
    CryptoState& state = State();
    state.key.reset();
    state.provider.reset();
}

}  // namespace icbs
