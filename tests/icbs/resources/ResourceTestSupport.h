// Shared by the resource tests: the bare launcher as the file that updates
// are written into, copied into a test folder.
#pragma once

#include <string>

#include "tests/support/TestSupport.h"

namespace resourcetest {

inline std::wstring BareLauncher() { return testsupport::BuildDir() + L"\\SetupLauncher.exe"; }

// A copy of the bare launcher in dir, named name.
inline std::wstring CopyOfBareLauncher(const testsupport::TempDir& dir, const std::wstring& name) {
    std::wstring target = dir.File(name);
    ::CopyFileW(BareLauncher().c_str(), target.c_str(), FALSE);
    return target;
}

}  // namespace resourcetest
