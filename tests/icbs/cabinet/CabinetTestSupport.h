// Helpers of the cabinet tests: test data, cabinets made on the spot with
// CabinetCompressor, the gcab-made fixture cabinets, folder listings and a
// recorder of progress calls.
#pragma once

#include <windows.h>
#include <fci.h>

#include <string>
#include <utility>
#include <vector>

#include "icbs/CabinetImage.h"
#include "icbs/CabinetProgress.h"
#include "tests/support/TestSupport.h"

namespace cabtest {

// Bytes that no compressor can shrink (seeded, so every run sees the same).
std::string RandomBytes(size_t size, unsigned seed);
// Numbered text lines, easy to compress.
std::string TextBytes(size_t lines);

struct Entry {
    std::wstring storedName;  // the name in the cabinet, any text
    std::string contents;
};

// Writes the entries as files into scratch (as "source0", "source1", ...)
// and builds a cabinet of them with CabinetCompressor; returns the cabinet's
// bytes (empty when building failed).
std::string MakeCabinet(const std::vector<Entry>& entries, TCOMP compression, const std::wstring& scratch);

// build/tests/cabinet-fixtures: two.cab (gcab -c -z of inputs\random.bin
// and inputs\text.txt) and the inputs themselves.
std::wstring FixtureCabinets();
std::string FixtureBytes(const std::wstring& relativePath);

// The names in a folder, sorted (the shared helper, used throughout here).
using testsupport::FolderEntries;

// Creates folder (one level); returns its path.
std::wstring MakeFolder(const std::wstring& folder);

// Records every progress call in order.
class ProgressRecorder : public ICBSCabinetProgressCallbacks {
public:
    enum Kind { Percent, Bytes };
    struct Call {
        Kind kind;
        long long value;
    };
    void OnPercent(int percent) override { calls.push_back({Percent, percent}); }
    void OnBytes(unsigned bytesRead) override { calls.push_back({Bytes, bytesRead}); }
    int GetRange() override { return 30; }

    std::vector<Call> calls;
};

}  // namespace cabtest
