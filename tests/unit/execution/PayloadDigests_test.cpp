// Shows that the hashes worked out ahead are the hashes of exactly the
// cabinets asked for, across the thread's steps, and that a stopped thread
// never hands out the digest of part of a cabinet.
#include "execution/PayloadDigests.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131u + seed) >> 3);
    return bytes;
}

CabinetImage Image(const std::string& bytes) {
    return {reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())};
}

}  // namespace

TEST(PayloadDigests, EachCabinetGetsItsOwnDigestAndNothingElseGetsOne) {
    // Three cabinets: one across several of the thread's steps, one short,
    // one empty.
    std::string large = Bytes((3u << 20) + 77, 1), small = Bytes(1000, 2), empty;
    PayloadDigests digests;
    digests.Start({{L"PACKAGE_0", Image(large)}, {L"PACKAGE_1", Image(small)}, {L"PACKAGE_2", Image(empty)}});

    // Asked for out of order, as a selection may skip a package.
    EXPECT_EQ(digests.Wait(L"PACKAGE_1", Image(small)), icbs::Sha256Of(small.data(), small.size()));
    EXPECT_EQ(digests.Wait(L"PACKAGE_0", Image(large)), icbs::Sha256Of(large.data(), large.size()));
    EXPECT_EQ(digests.Wait(L"PACKAGE_2", Image(empty)), icbs::Sha256Of(empty.data(), 0));
    // A package not started, or the same name over other bytes, is hashed
    // at the check instead.
    EXPECT_EQ(digests.Wait(L"PACKAGE_3", Image(small)), std::nullopt);
    std::string other = small;
    EXPECT_EQ(digests.Wait(L"PACKAGE_1", Image(other)), std::nullopt);
    EXPECT_EQ(digests.Wait(L"PACKAGE_0", {Image(large).data, 1000}), std::nullopt);

    PayloadDigests never;
    EXPECT_EQ(never.Wait(L"PACKAGE_0", Image(large)), std::nullopt);
}

TEST(PayloadDigests, AStoppedThreadGivesWholeDigestsOrNone) {
    // With the portable rounds the two cabinets take a good part of a
    // second, far longer than the moment between the start and the stop.
    icbs::Sha256::UseProcessorExtensions(false);
    std::string first = Bytes(48u << 20, 3), second = Bytes(48u << 20, 4);
    PayloadDigests digests;
    digests.Start({{L"PACKAGE_0", Image(first)}, {L"PACKAGE_1", Image(second)}});
    digests.Stop();
    int given = 0;
    for (const auto& [name, bytes] : {std::pair{L"PACKAGE_0", &first}, std::pair{L"PACKAGE_1", &second}}) {
        std::optional<icbs::Sha256Digest> digest = digests.Wait(name, Image(*bytes));
        if (!digest) continue;
        ++given;
        EXPECT_EQ(*digest, icbs::Sha256Of(bytes->data(), bytes->size())) << "a digest of part of " << name;
    }
    icbs::Sha256::UseProcessorExtensions(true);
    EXPECT_LT(given, 2) << "the stop did not end the thread's work";
}
