// Shows that the package hash gives the published SHA-256 digests, with the
// processor's extensions and with the portable rounds alike, whatever the
// pieces the data comes in; and that digest texts read back.
#include <gtest/gtest.h>

#include <string>

#include "icbs/Sha256.h"

namespace {

std::wstring Hash(const std::string& text, size_t piece) {
    icbs::Sha256 hash;
    for (size_t at = 0; at < text.size(); at += piece) hash.Update(text.data() + at, std::min(piece, text.size() - at));
    return icbs::DigestText(hash.Final());
}

// Every hash while it lives uses the portable rounds or the extensions.
struct Path {
    explicit Path(bool extensions) { icbs::Sha256::UseProcessorExtensions(extensions); }
    ~Path() { icbs::Sha256::UseProcessorExtensions(true); }
};

}  // namespace

TEST(Sha256, PublishedDigestsInAnyPiecesOnBothPaths) {
    const std::pair<std::string, std::wstring> known[] = {
        {"", L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (bool extensions : {false, true}) {
        Path path(extensions);
        for (const auto& [text, digest] : known)
            for (size_t piece : {size_t(1), size_t(63), size_t(64), size_t(65), size_t(4096), text.size() + 1}) {
                if (text.size() > 100 && piece < 63) continue;
                EXPECT_EQ(Hash(text, piece), digest) << text.size() << " bytes in pieces of " << piece << extensions;
            }
    }
}

TEST(Sha256, BothPathsAgreeOnEveryLengthAroundABlock) {
    std::string data;
    for (int i = 0; i < 300; ++i) data += static_cast<char>(i * 131 + 7);
    for (size_t length = 0; length <= data.size(); ++length) {
        std::string part = data.substr(0, length);
        std::wstring portable, extended;
        {
            Path path(false);
            portable = Hash(part, 17);
        }
        extended = Hash(part, 29);
        EXPECT_EQ(extended, portable) << length;
    }
}

TEST(Sha256, DigestTextsReadBackAndAnythingElseIsRefused) {
    icbs::Sha256Digest digest = icbs::Sha256Of("abc", 3), read{};
    ASSERT_TRUE(icbs::ParseDigestText(L"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", read));
    EXPECT_EQ(read, digest);
    for (const wchar_t* bad : {L"", L"ba7816bf", L"ga7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
                               L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad0"})
        EXPECT_FALSE(icbs::ParseDigestText(bad, read)) << bad;
}
