// Shows that service passwords are encrypted exactly as the installed packages
// expect (RC4 keyed from the SHA-1 of the shared pass phrase as the base
// provider derives it, Base64 in CR LF-ended lines of 64) and decrypt back.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "icbs/PasswordCrypto.h"
#include "tests/unit/icbs/ReferenceCipher.h"

namespace {

// The pass phrase the launcher and the packages share.
const std::string kSharedPassPhrase = "3f9b07c2d15e48a6b0c4e71f92d8a35c";

// What a package computes: the base provider's RC4 key is 40 bits (its
// default length) plus 88 bits of salt; with the salt created from the hash,
// key and salt are the first 5 + 11 bytes of the SHA-1 digest.
reference::Bytes PackageKey() {
    const size_t keyBytes = 40 / 8;
    const size_t saltBytes = 128 / 8 - keyBytes;
    reference::Bytes digest = reference::Sha1(reference::Bytes(kSharedPassPhrase.begin(), kSharedPassPhrase.end()));
    return reference::Bytes(digest.begin(), digest.begin() + keyBytes + saltBytes);
}

std::wstring ExpectedCipherText(const std::wstring& plain) {
    return reference::Base64Lines(reference::Rc4(PackageKey(), reference::Utf16Bytes(plain)));
}

std::wstring RandomBmpText(std::mt19937& random, size_t length) {
    std::uniform_int_distribution<int> unit(1, 0xFFFF);
    std::wstring text;
    for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(unit(random));
    return text;
}

}  // namespace

TEST(PasswordCrypto, ReferenceImplementationsMatchPublishedVectors) {
    // FIPS 180 example "abc" and the RC4 test vector Key/Plaintext.
    reference::Bytes digest = reference::Sha1({'a', 'b', 'c'});
    const uint8_t expectedDigest[] = {0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                                      0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d};
    EXPECT_EQ(digest, reference::Bytes(std::begin(expectedDigest), std::end(expectedDigest)));
    reference::Bytes cipher = reference::Rc4({'K', 'e', 'y'}, {'P', 'l', 'a', 'i', 'n', 't', 'e', 'x', 't'});
    const uint8_t expectedCipher[] = {0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3};
    EXPECT_EQ(cipher, reference::Bytes(std::begin(expectedCipher), std::end(expectedCipher)));
    EXPECT_EQ(reference::Base64Lines({'M', 'a'}), L"TWE=\r\n");
}

TEST(PasswordCrypto, CipherTextIsWhatThePackagesDecrypt) {
    for (const std::wstring& plain : {std::wstring(L"secret"), std::wstring(L"P\u00e4ssw\u00f6rd!"),
                                      std::wstring(L"\u65e5\u672c\u8a9e"), std::wstring(L"x")}) {
        EXPECT_EQ(icbs::EncryptPassword(plain), ExpectedCipherText(plain)) << "for a password of " << plain.size();
    }
}

TEST(PasswordCrypto, EveryEncryptionStartsTheKeyStreamAfresh) {
    std::wstring first = icbs::EncryptPassword(L"alpha");
    icbs::EncryptPassword(L"a much longer password that moves a continuing key stream on");
    EXPECT_EQ(icbs::EncryptPassword(L"alpha"), first);
    icbs::ReleaseCrypto();
    EXPECT_EQ(icbs::EncryptPassword(L"alpha"), first) << "after the key was made again";
}

TEST(PasswordCrypto, Base64LinesHoldSixtyFourCharactersEachEndedByCrLf) {
    std::wstring plain(100, L'p');  // 200 bytes: 268 characters of Base64
    std::wstring encoded = icbs::EncryptPassword(plain);
    ASSERT_GE(encoded.size(), 2u);
    ASSERT_EQ(encoded.substr(encoded.size() - 2), L"\r\n");
    size_t start = 0, lines = 0, characters = 0;
    while (start < encoded.size()) {
        size_t end = encoded.find(L"\r\n", start);
        ASSERT_NE(end, std::wstring::npos);
        std::wstring line = encoded.substr(start, end - start);
        EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos);
        bool last = end + 2 == encoded.size();
        if (last) {
            EXPECT_LE(line.size(), 64u);
        } else {
            EXPECT_EQ(line.size(), 64u);
        }
        characters += line.size();
        ++lines;
        start = end + 2;
    }
    EXPECT_EQ(characters, (200 + 2) / 3 * 4);
    EXPECT_EQ(lines, (characters + 63) / 64);
}

TEST(PasswordCrypto, EmptyPasswordGivesEmptyText) {
    EXPECT_EQ(icbs::EncryptPassword(L""), L"");
    EXPECT_EQ(icbs::DecryptPassword(L""), L"");
}

TEST(PasswordCrypto, AnyBasicMultilingualPlaneTextRoundTrips) {
    std::mt19937 random(20240607);
    for (int round = 0; round < 200; ++round) {
        std::wstring plain = RandomBmpText(random, 1 + round % 97);
        std::wstring encoded = icbs::EncryptPassword(plain);
        ASSERT_EQ(icbs::DecryptPassword(encoded), plain) << "round " << round;
    }
}

TEST(PasswordCrypto, DecryptAcceptsBase64WithoutLineBreaks) {
    std::wstring encoded = icbs::EncryptPassword(std::wstring(70, L'z'));
    std::wstring joined;
    for (wchar_t c : encoded)
        if (c != L'\r' && c != L'\n') joined += c;
    EXPECT_EQ(icbs::DecryptPassword(joined), std::wstring(70, L'z'));
}

TEST(PasswordCrypto, TextThatIsNotBase64DecryptsToNothing) {
    EXPECT_EQ(icbs::DecryptPassword(L"!!not base64!!"), L"");
}
