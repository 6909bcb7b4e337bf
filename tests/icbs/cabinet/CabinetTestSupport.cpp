#include "tests/icbs/cabinet/CabinetTestSupport.h"

#include <random>

#include "icbs/CabinetCompressor.h"
#include "tests/support/TestSupport.h"

namespace cabtest {

std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string TextBytes(size_t lines) {
    std::string text;
    for (size_t i = 0; i < lines; ++i) text += "text line " + std::to_string(i) + "\r\n";
    return text;
}

std::string MakeCabinet(const std::vector<Entry>& entries, TCOMP compression, const std::wstring& scratch) {
    std::wstring cabinetPath = scratch + L"\\made.cab";
    {
        CabinetCompressor compressor(cabinetPath, compression);
        for (size_t i = 0; i < entries.size(); ++i) {
            std::wstring source = L"source" + std::to_wstring(i);
            testsupport::WriteBytes(scratch + L"\\" + source, entries[i].contents);
            if (!compressor.AddFile(scratch, source, entries[i].storedName)) return std::string();
        }
        if (!compressor.Flush()) return std::string();
    }
    return testsupport::ReadBytes(cabinetPath);
}

std::wstring FixtureCabinets() { return testsupport::BuildDir() + L"\\tests\\cabinet-fixtures"; }

std::string FixtureBytes(const std::wstring& relativePath) {
    return testsupport::ReadBytes(FixtureCabinets() + L"\\" + relativePath);
}

std::wstring MakeFolder(const std::wstring& folder) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace cabtest
