// Shows the stream callbacks that the cabinet library calls: memory streams over the current cabinet, real files for creates, and clean answers for handles that are not open.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "icbs/CabinetStreams.h"
#include "tests/support/TestSupport.h"

namespace {

struct Recorder : ICBSCabinetProgressCallbacks {
    std::vector<long long> calls;  // bytes as is, percentages negated
    void OnPercent(int percent) override { calls.push_back(-percent); }
    void OnBytes(unsigned bytesRead) override { calls.push_back(bytesRead); }
    int GetRange() override { return 30; }
};

// Sets a cabinet for the duration of a test.
struct Extraction {
    Extraction(const std::string& bytes, ICBSCabinetProgressCallbacks* progress) {
        cabinet_streams::BeginExtraction(CabinetImageFromBytes(bytes), progress);
    }
    ~Extraction() { cabinet_streams::EndExtraction(); }
};

}  // namespace

TEST(CabinetStreams, AnyNameOpensTheCabinetInMemoryWithItsProgress) {
    std::string bytes(200, 'c');
    Recorder recorder;
    Extraction extraction(bytes, &recorder);
    char name[] = "whatever.cab";
    INT_PTR handle = cabinet_streams::Open(name, _O_RDONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    ASSERT_GT(handle, 0);
    char buffer[150];
    EXPECT_EQ(cabinet_streams::Read(handle, buffer, 150), 150u);
    EXPECT_EQ(cabinet_streams::Read(handle, buffer, 150), 50u);
    EXPECT_EQ(cabinet_streams::Seek(handle, 20, SEEK_SET), 20);
    EXPECT_EQ(cabinet_streams::Read(handle, buffer, 10), 10u);
    EXPECT_EQ(recorder.calls, (std::vector<long long>{150, -75, 200, -100, 30, -15}));
    // Memory streams take no writes.
    EXPECT_EQ(cabinet_streams::Write(handle, buffer, 10), 0u);
    EXPECT_EQ(cabinet_streams::Close(handle), 0);
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}

TEST(CabinetStreams, HandlesThatAreNotOpenAnswerWithFailures) {
    char buffer[4];
    for (INT_PTR handle : {INT_PTR(0), INT_PTR(-1), INT_PTR(123456)}) {
        EXPECT_EQ(cabinet_streams::Read(handle, buffer, 4), static_cast<UINT>(-1));
        EXPECT_EQ(cabinet_streams::Write(handle, buffer, 4), static_cast<UINT>(-1));
        EXPECT_EQ(cabinet_streams::Seek(handle, 0, SEEK_SET), -1);
        EXPECT_EQ(cabinet_streams::Close(handle), -1);
    }
}

TEST(CabinetStreams, ACreateOpensARealFile) {
    testsupport::TempDir folder;
    std::string bytes(10, 'c');
    Extraction extraction(bytes, nullptr);
    std::string path = std::string(folder.Path().begin(), folder.Path().end()) + "\\spill.tmp";
    INT_PTR handle = cabinet_streams::Open(path.data(), _O_CREAT | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    ASSERT_GT(handle, 0);
    char data[] = "spilled";
    EXPECT_EQ(cabinet_streams::Write(handle, data, 7), 7u);
    EXPECT_EQ(cabinet_streams::Seek(handle, 2, SEEK_SET), 2);
    char buffer[8] = {};
    EXPECT_EQ(cabinet_streams::Read(handle, buffer, 8), 5u);
    EXPECT_EQ(std::string(buffer, 5), "illed");
    EXPECT_EQ(cabinet_streams::Close(handle), 0);
    EXPECT_EQ(testsupport::ReadBytes(folder.File(L"spill.tmp")), "spilled");
    EXPECT_FALSE(cabinet_streams::WriteFailed());
}

TEST(CabinetStreams, TheEndOfAnExtractionDropsCabinetStreamsLeftOpen) {
    std::string bytes(10, 'c');
    {
        Extraction extraction(bytes, nullptr);
        char name[] = "Package.cab";
        ASSERT_GT(cabinet_streams::Open(name, _O_RDONLY, 0), 0);
        EXPECT_EQ(cabinet_streams::OpenStreamCount(), 1u);
    }
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}

TEST(CabinetStreams, WithoutACabinetAnOpenLooksForARealFile) {
    testsupport::TempDir folder;
    testsupport::WriteBytes(folder.File(L"real.cab"), "on disk");
    std::string existing = std::string(folder.Path().begin(), folder.Path().end()) + "\\real.cab";
    std::string missing = std::string(folder.Path().begin(), folder.Path().end()) + "\\missing.cab";
    EXPECT_EQ(cabinet_streams::Open(missing.data(), _O_RDONLY | _O_BINARY, _S_IREAD), -1);
    INT_PTR handle = cabinet_streams::Open(existing.data(), _O_RDONLY | _O_BINARY, _S_IREAD);
    ASSERT_GT(handle, 0);
    char buffer[16];
    EXPECT_EQ(cabinet_streams::Read(handle, buffer, 16), 7u);
    EXPECT_EQ(std::string(buffer, 7), "on disk");
    EXPECT_EQ(cabinet_streams::Close(handle), 0);
}
