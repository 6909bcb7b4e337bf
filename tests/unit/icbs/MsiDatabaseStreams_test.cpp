// Shows that stream rows carry a file's bytes exactly, are replaced and exported, and that packed files come out.
#include "icbs/MsiDatabase.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

namespace {

struct Package {
    testsupport::TempDir folder;
    std::wstring path = msitest::CopyFixture(folder, L"editor");
};

// Bytes of every value, longer than the small-stream limit of 4096.
std::string BinaryContent(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned value = seed;
    for (size_t i = 0; i < size; ++i) {
        value = value * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(i < 256 ? i : (value >> 16) & 0xFF);
    }
    return bytes;
}

// Points TMP and TEMP at another folder while it lives.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::wstring& folder) {
        for (Saved& saved : saved_) {
            wchar_t value[1024];
            DWORD length = ::GetEnvironmentVariableW(saved.name, value, 1024);
            saved.existed = length > 0 && length < 1024;
            if (saved.existed) saved.value.assign(value, length);
            ::SetEnvironmentVariableW(saved.name, folder.c_str());
        }
    }
    ~TemporaryFolderOverride() {
        for (const Saved& saved : saved_)
            ::SetEnvironmentVariableW(saved.name, saved.existed ? saved.value.c_str() : nullptr);
    }

private:
    struct Saved {
        const wchar_t* name;
        bool existed = false;
        std::wstring value;
    };
    Saved saved_[2] = {{L"TMP"}, {L"TEMP"}};
};

// Byte strings compared without printing them.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "bytes differ: " << actual.size() << " bytes instead of "
                                         << expected.size();
}

// The Data stream of a row, read from the file with msi.dll directly.
std::string StoredStream(const std::wstring& path, const std::wstring& table, const std::wstring& name) {
    fw::MsiHandle database, view, record;
    fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, database.put());
    std::wstring sql = L"SELECT `Data` FROM `" + table + L"` WHERE `Name`='" + name + L"'";
    if (fw::Msi().MsiDatabaseOpenViewW(database.get(), sql.c_str(), view.put()) != ERROR_SUCCESS) return "<none>";
    fw::Msi().MsiViewExecute(view.get(), 0);
    if (fw::Msi().MsiViewFetch(view.get(), record.put()) != ERROR_SUCCESS) return "<none>";
    std::string bytes;
    char chunk[1000];
    DWORD size = sizeof(chunk);
    while (fw::Msi().MsiRecordReadStream(record.get(), 1, chunk, &size) == ERROR_SUCCESS && size > 0) {
        bytes.append(chunk, size);
        size = sizeof(chunk);
    }
    return bytes;
}

TEST(MsiDatabaseStreams, BinaryContentMakesTheRoundTrip) {
    Package package;
    std::string content = BinaryContent(10000, 7);
    std::wstring file = package.folder.File(L"blob.bin");
    testsupport::WriteBytes(file, content);
    {
        ICBSMSIDatabase database(package.path, false);
        ASSERT_TRUE(database.SetStream(L"Binary", L"Blob", file));
        std::string read;
        ASSERT_TRUE(database.ReadStream(L"Binary", L"Blob", read));
        EXPECT_TRUE(SameBytes(read, content));
        // Changes after the read are committed on close as well.
        ASSERT_TRUE(database.SetProperty(L"AFTER_READ", L"1"));
    }
    EXPECT_EQ(msitest::PropertyOf(package.path, L"AFTER_READ"), L"1");
    EXPECT_TRUE(SameBytes(StoredStream(package.path, L"Binary", L"Blob"), content));
    ICBSMSIDatabase reopened(package.path, false, true);
    std::string read;
    ASSERT_TRUE(reopened.ReadStream(L"Binary", L"Blob", read));
    EXPECT_TRUE(SameBytes(read, content));
}

TEST(MsiDatabaseStreams, StoringUnderAnExistingNameReplacesTheRow) {
    Package package;
    std::wstring first = package.folder.File(L"first.bin"), second = package.folder.File(L"second.bin");
    testsupport::WriteBytes(first, BinaryContent(300, 1));
    testsupport::WriteBytes(second, BinaryContent(5000, 2));
    {
        ICBSMSIDatabase database(package.path, false);
        ASSERT_TRUE(database.InsertBinary(L"Logo", first));
        ASSERT_TRUE(database.InsertBinary(L"Logo", second));
        ASSERT_TRUE(database.InsertIcon(L"App.ico", first));
    }
    EXPECT_EQ(msitest::RowsOf(package.path, L"SELECT `Name` FROM `Binary`").size(), 1u);
    EXPECT_TRUE(SameBytes(StoredStream(package.path, L"Binary", L"Logo"), testsupport::ReadBytes(second)));
    EXPECT_TRUE(SameBytes(StoredStream(package.path, L"Icon", L"App.ico"), testsupport::ReadBytes(first)));
}

TEST(MsiDatabaseStreams, PackageStreamsTableTakesStreamsToo) {
    Package package;
    std::wstring file = package.folder.File(L"extra.cab");
    testsupport::WriteBytes(file, BinaryContent(700, 3));
    {
        ICBSMSIDatabase database(package.path, false);
        ASSERT_TRUE(database.SetStream(L"_Streams", L"extra.cab", file));
    }
    EXPECT_TRUE(SameBytes(StoredStream(package.path, L"_Streams", L"extra.cab"), testsupport::ReadBytes(file)));
}

TEST(MsiDatabaseStreams, MissingFilesRowsAndTablesFail) {
    Package package;
    std::string before = testsupport::ReadBytes(package.path);
    {
        ICBSMSIDatabase database(package.path, false);
        EXPECT_FALSE(database.SetStream(L"Binary", L"Nothing", package.folder.File(L"missing.bin")));
        EXPECT_FALSE(database.SetStream(L"NoSuchTable", L"X", package.path));
        std::string bytes = "left over";
        EXPECT_FALSE(database.ReadStream(L"Binary", L"Nothing", bytes));
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(database.CommitOnClose());
    }
    EXPECT_EQ(testsupport::ReadBytes(package.path), before);
}

TEST(MsiDatabaseStreams, ExportWritesEveryStreamIntoTheFolder) {
    Package package;
    std::wstring one = package.folder.File(L"one.bin"), two = package.folder.File(L"two.bin");
    testsupport::WriteBytes(one, BinaryContent(100, 4));
    testsupport::WriteBytes(two, BinaryContent(9000, 5));
    std::wstring out = package.folder.File(L"out");
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    ICBSMSIDatabase database(package.path, false);
    ASSERT_TRUE(database.InsertBinary(L"One", one));
    ASSERT_TRUE(database.InsertBinary(L"Two", two));
    EXPECT_TRUE(database.ExportStreams(L"Binary", out + L"\\"));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(out + L"\\One"), testsupport::ReadBytes(one)));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(out + L"\\Two"), testsupport::ReadBytes(two)));
    // The same without the closing separator.
    ASSERT_TRUE(::DeleteFileW((out + L"\\One").c_str()));
    EXPECT_TRUE(database.ExportStreams(L"Binary", out));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(out + L"\\One"), testsupport::ReadBytes(one)));
    EXPECT_FALSE(database.ExportStreams(L"NoSuchTable", out));
}

TEST(MsiDatabaseStreams, ExportRefusesNamesThatLeaveTheFolder) {
    Package package;
    std::wstring file = package.folder.File(L"data.bin");
    testsupport::WriteBytes(file, "payload");
    std::wstring out = package.folder.File(L"out");
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    ICBSMSIDatabase database(package.path, false);
    ASSERT_TRUE(database.InsertBinary(L"..\\escaped.bin", file));
    ASSERT_TRUE(database.InsertBinary(L"inside.bin", file));
    EXPECT_FALSE(database.ExportStreams(L"Binary", out));
    EXPECT_FALSE(testsupport::FileExists(package.folder.File(L"escaped.bin")));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(out + L"\\inside.bin"), "payload"));
}

TEST(MsiDatabaseStreams, APackedFileComesOutOfTheEmbeddedCabinet) {
    Package package;
    std::wstring source = testsupport::SourceDir() + L"\\tests\\fixtures\\readme.txt";
    std::vector<msitest::Row> files = msitest::RowsOf(package.path, L"SELECT `FileName`, `Component_` FROM `File`");
    ASSERT_EQ(files.size(), 1u);
    const std::wstring fileName = files[0][0], component = files[0][1];
    std::wstring out = package.folder.File(L"out");
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    ICBSMSIDatabase database(package.path, false);
    ASSERT_TRUE(database.ExtractFromEmbeddedCabinet(fileName, out));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(out + L"\\" + fileName), testsupport::ReadBytes(source)));

    std::wstring again = package.folder.File(L"again");
    ASSERT_TRUE(::CreateDirectoryW(again.c_str(), nullptr));
    EXPECT_TRUE(database.ExtractFromEmbeddedCabinet(fileName, again, component));
    EXPECT_TRUE(SameBytes(testsupport::ReadBytes(again + L"\\" + fileName), testsupport::ReadBytes(source)));

    EXPECT_FALSE(database.ExtractFromEmbeddedCabinet(L"missing.txt", out));
    EXPECT_FALSE(database.ExtractFromEmbeddedCabinet(fileName, out, L"OtherComponent"));
}

TEST(MsiDatabaseStreams, TheEmbeddedCabinetIsReadInMemory) {
    Package package;
    std::vector<msitest::Row> files = msitest::RowsOf(package.path, L"SELECT `FileName` FROM `File`");
    ASSERT_EQ(files.size(), 1u);
    std::wstring out = package.folder.File(L"out");
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    ICBSMSIDatabase database(package.path, false);
    bool extracted = false;
    {
        // No temporary file can be made while the temporary folder does not
        // exist: the cabinet must never need one.
        TemporaryFolderOverride missing(package.folder.File(L"no-such-folder"));
        extracted = database.ExtractFromEmbeddedCabinet(files[0][0], out + L"\\");
    }
    EXPECT_TRUE(extracted);
    EXPECT_EQ(testsupport::FolderEntries(out), std::vector<std::wstring>{files[0][0]});
}

}  // namespace
