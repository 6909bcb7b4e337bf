// Shows that the packages the builder writes into the installer's last
// section are found and read by the launcher as before: the headers describe
// the grown file (sections, image size, checksum), every package reads back
// byte for byte, a large one included, two such packages install and are
// removed, and a failure while writing them keeps the old output.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Handles.h"
#include "framework/SystemApi.h"
#include "tests/builder/BuilderRun.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace buildertest;
using testsupport::Contains;
using testsupport::FileExists;
using testsupport::TempDir;

namespace {

template <class T>
T At(const std::string& bytes, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

DWORD RoundUp(DWORD value, DWORD alignment) { return (value + alignment - 1) / alignment * alignment; }

// The headers as the test reads them, independent of the builder's code.
struct Headers {
    DWORD peOffset = 0, optional = 0, sectionAlignment = 0, fileAlignment = 0, sizeOfImage = 0;
    DWORD sizeOfHeaders = 0, checksum = 0;
    std::vector<IMAGE_SECTION_HEADER> sections;
};
Headers ReadHeaders(const std::string& file) {
    Headers h;
    h.peOffset = At<DWORD>(file, 0x3C);
    h.optional = h.peOffset + 24;
    WORD count = At<WORD>(file, h.peOffset + 6), optionalSize = At<WORD>(file, h.peOffset + 20);
    h.sectionAlignment = At<DWORD>(file, h.optional + 32);
    h.fileAlignment = At<DWORD>(file, h.optional + 36);
    h.sizeOfImage = At<DWORD>(file, h.optional + 56);
    h.sizeOfHeaders = At<DWORD>(file, h.optional + 60);
    h.checksum = At<DWORD>(file, h.optional + 64);
    for (WORD i = 0; i < count; ++i)
        h.sections.push_back(At<IMAGE_SECTION_HEADER>(file, h.optional + optionalSize + i * 40u));
    return h;
}

// The checksum as the image help library defines it.
DWORD Checksum(const std::string& file, DWORD checksumOffset) {
    unsigned long long sum = 0;
    for (size_t i = 0; i < file.size(); i += 2) {
        if (i == checksumOffset || i == checksumOffset + 2) continue;
        unsigned word = static_cast<unsigned char>(file[i]);
        if (i + 1 < file.size()) word |= static_cast<unsigned char>(file[i + 1]) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<DWORD>(sum + file.size());
}

// The address and size of a type-40 resource, read from the loaded file.
std::pair<DWORD, DWORD> ResourcePlace(const std::wstring& file, const std::wstring& name) {
    fw::ModuleHandle module(::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC info = module ? ::FindResourceW(module.get(), name.c_str(), MAKEINTRESOURCEW(40)) : nullptr;
    if (!info) return {0, 0};
    return {reinterpret_cast<const IMAGE_RESOURCE_DATA_ENTRY*>(info)->OffsetToData, ::SizeofResource(module.get(), info)};
}

void ExpectConsistentLayout(const std::wstring& path, int packages) {
    std::string file = testsupport::ReadBytes(path);
    Headers h = ReadHeaders(file);
    Headers bare = ReadHeaders(testsupport::ReadBytes(testsupport::BuildDir() + L"\\SetupLauncher.exe"));
    ASSERT_EQ(h.sections.size(), bare.sections.size() + 1);
    ASSERT_GT(h.fileAlignment, 0u);
    ASSERT_GT(h.sectionAlignment, 0u);
    EXPECT_GE(h.sizeOfHeaders, h.optional + At<WORD>(file, h.peOffset + 20) + h.sections.size() * 40);
    DWORD nextAddress = 0, rawEnd = h.sizeOfHeaders;
    for (const IMAGE_SECTION_HEADER& s : h.sections) {
        std::string name(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
        SCOPED_TRACE(name);
        EXPECT_EQ(s.VirtualAddress % h.sectionAlignment, 0u);
        if (nextAddress) EXPECT_EQ(s.VirtualAddress, nextAddress) << "sections are adjacent in the image";
        nextAddress = s.VirtualAddress + RoundUp(s.Misc.VirtualSize ? s.Misc.VirtualSize : s.SizeOfRawData,
                                                 h.sectionAlignment);
        if (s.SizeOfRawData == 0) continue;
        EXPECT_EQ(s.PointerToRawData % h.fileAlignment, 0u);
        EXPECT_EQ(s.SizeOfRawData % h.fileAlignment, 0u);
        EXPECT_GE(s.PointerToRawData, rawEnd) << "raw data overlaps the previous section's";
        rawEnd = s.PointerToRawData + s.SizeOfRawData;
        EXPECT_LE(rawEnd, file.size());
    }
    EXPECT_EQ(h.sizeOfImage, nextAddress);
    EXPECT_EQ(rawEnd, file.size()) << "nothing follows the last section";
    const IMAGE_SECTION_HEADER& last = h.sections.back();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(last.Name), 8), ".package");
    EXPECT_EQ(last.Characteristics, static_cast<DWORD>(IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ));
    EXPECT_GE(last.SizeOfRawData, last.Misc.VirtualSize);
    if (h.checksum) EXPECT_EQ(h.checksum, Checksum(file, h.optional + 64));
    for (int i = 0; i < packages; ++i) {
        auto [address, size] = ResourcePlace(path, L"PACKAGE_" + std::to_wstring(i));
        SCOPED_TRACE(i);
        EXPECT_GE(address, last.VirtualAddress);
        EXPECT_LE(address + static_cast<unsigned long long>(size), last.VirtualAddress + last.Misc.VirtualSize);
        size_t offset = last.PointerToRawData + (address - last.VirtualAddress);
        EXPECT_EQ(At<DWORD>(file, offset), size - 4) << "the length before the cabinet";
        EXPECT_EQ(file.substr(offset + 4, 4), "MSCF");
    }
}

// A copy of the tools database with a stream of pseudo-random bytes (which
// do not compress), so that its package is about `mebibytes` large.
std::wstring LargeDatabase(const TempDir& dir, unsigned mebibytes) {
    std::wstring database = dir.File(L"large.msi"), payload = dir.File(L"payload.bin");
    EXPECT_TRUE(::CopyFileW(Fixture(L"tools.msi").c_str(), database.c_str(), FALSE));
    std::string bytes(mebibytes << 20, '\0');
    unsigned state = 12345;
    for (char& b : bytes) b = static_cast<char>((state = state * 1103515245u + 12345u) >> 23);
    testsupport::WriteBytes(payload, bytes);
    fw::MsiHandle opened, view, record;
    EXPECT_EQ(fw::Msi().MsiOpenDatabaseW(database.c_str(), MSIDBOPEN_TRANSACT, opened.put()), ERROR_SUCCESS);
    EXPECT_EQ(fw::Msi().MsiDatabaseOpenViewW(opened.get(), L"INSERT INTO `_Streams` (`Name`, `Data`) VALUES (?, ?)", view.put()),
              ERROR_SUCCESS);
    record.reset(fw::Msi().MsiCreateRecord(2));
    fw::Msi().MsiRecordSetStringW(record.get(), 1, L"LargePayload");
    EXPECT_EQ(fw::Msi().MsiRecordSetStreamW(record.get(), 2, payload.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(fw::Msi().MsiViewExecute(view.get(), record.get()), ERROR_SUCCESS);
    view.reset();
    EXPECT_EQ(fw::Msi().MsiDatabaseCommit(opened.get()), ERROR_SUCCESS);
    opened.reset();
    ::DeleteFileW(payload.c_str());
    return database;
}

}  // namespace

TEST(PackageSection, TheHeadersDescribeTheGrownFileWithThePackagesInItsLastSection) {
    TempDir dir;
    std::wstring setup = dir.File(L"setup.exe");
    BuilderResult built = RunBuilder(L"--out " + Quoted(setup) + L" --package " + Quoted(Fixture(L"editor.msi")) +
                                     L" --package " + Quoted(Fixture(L"tools.msi")));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    ExpectConsistentLayout(setup, 2);
    EXPECT_EQ(RunLauncherFile(setup, L"/v").exitCode, 0u);
}

TEST(PackageSection, EveryPackageReadsBackByteForByteALargeOneIncluded) {
    TempDir dir;
    std::wstring large = LargeDatabase(dir, 20);
    std::wstring setup = dir.File(L"setup.exe");
    BuilderResult built = RunBuilder(L"--out " + Quoted(setup) + L" --package " + Quoted(Fixture(L"editor.msi")) +
                                     L" --package " + Quoted(large));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    ExpectConsistentLayout(setup, 2);
    EXPECT_GT(ResourcePlace(setup, L"PACKAGE_1").second, 20u << 20);
    EXPECT_EQ(RunLauncherFile(setup, L"/v").exitCode, 0u);
    // The launcher unpacks every package from its own resources and copies
    // the databases into the current folder.
    TempDir out;
    testsupport::RunResult run = testsupport::Run(setup, L"/u /qn", 120000, out.Path());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(testsupport::ReadBytes(out.File(L"editor.msi")) == testsupport::ReadBytes(Fixture(L"editor.msi")));
    EXPECT_TRUE(testsupport::ReadBytes(out.File(L"large.msi")) == testsupport::ReadBytes(large));
}

TEST(PackageSection, TwoPackagesFromTheSectionInstallAndAreRemoved) {
    TempDir dir;
    std::wstring setup = dir.File(L"setup.exe");
    ASSERT_EQ(RunBuilder(L"--out " + Quoted(setup) + L" --package " + Quoted(Fixture(L"editor.msi")) + L" --package " +
                         Quoted(Fixture(L"tools.msi")))
                  .exitCode,
              0u);
    statetest::FixtureFacts editor = statetest::FactsOf(Fixture(L"editor.msi"));
    statetest::FixtureFacts tools = statetest::FactsOf(Fixture(L"tools.msi"));
    LauncherRun install = RunLauncherFile(setup, L"/qn /L*v %LOG%", 180000);
    ASSERT_EQ(install.exitCode, 0u) << testing::PrintToString(install.log.substr(0, 4000));
    EXPECT_TRUE(statetest::ProductInstalled(editor.productCode));
    EXPECT_TRUE(statetest::ProductInstalled(tools.productCode));
    EXPECT_EQ(RunLauncherFile(setup, L"/x /qn", 180000).exitCode, 0u);
    EXPECT_FALSE(statetest::ProductInstalled(editor.productCode));
    EXPECT_FALSE(statetest::ProductInstalled(tools.productCode));
}

TEST(PackageSection, AFailureWhileWritingThePackagesKeepsTheOldOutput) {
    TempDir dir;
    // A template whose headers end right after its section table: no room
    // for the package section's entry.
    std::string bare = testsupport::ReadBytes(testsupport::BuildDir() + L"\\SetupLauncher.exe");
    Headers h = ReadHeaders(bare);
    DWORD tableEnd = h.optional + At<WORD>(bare, h.peOffset + 20) + static_cast<DWORD>(h.sections.size()) * 40;
    std::memcpy(&bare[h.optional + 60], &tableEnd, 4);
    std::wstring full = dir.File(L"full.exe"), out = dir.File(L"setup.exe");
    testsupport::WriteBytes(full, bare);
    testsupport::WriteBytes(out, "the previous installer");
    BuilderResult result = RunBuilder(L"--template " + Quoted(full) + L" --out " + Quoted(out) + L" --package " +
                                      Quoted(Fixture(L"editor.msi")));
    EXPECT_NE(result.exitCode, 0u);
    ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
    EXPECT_TRUE(Contains(result.lines[0], L"SetupBuilder: " + out)) << testing::PrintToString(result.lines[0]);
    EXPECT_TRUE(Contains(result.lines[0], L"no room for a section")) << testing::PrintToString(result.lines[0]);
    EXPECT_EQ(testsupport::ReadBytes(out), "the previous installer");
    EXPECT_EQ(testsupport::FolderEntries(dir.Path()), (std::vector<std::wstring>{L"full.exe", L"setup.exe"}));
}
