// The reversible encryption with which a service password is handed to the
// installed packages, which decrypt it with the same key derivation: RC4
// with a key derived from the SHA-1 hash of a fixed pass phrase by the base
// cryptographic provider, then Base64 with line breaks.
#pragma once

#include <string>
#include <string_view>

namespace icbs {

// The UTF-16 bytes of plain, encrypted and Base64-encoded in lines of 64
// characters, each ended by CR LF. Empty for an empty password, and when
// there is no key or encryption fails: the plain text never comes back.
std::wstring EncryptPassword(std::wstring_view plain);

// The reverse of EncryptPassword. Without a key the text comes back
// unchanged; text that is not Base64 gives an empty string.
std::wstring DecryptPassword(std::wstring_view encoded);

// Destroys the key and releases the provider; the next use makes them again.
void ReleaseCrypto();

}  // namespace icbs
