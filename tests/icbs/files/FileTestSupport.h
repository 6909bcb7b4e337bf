// Helpers of the file and process tests: the child program, folder links, a
// file held open by another thread, and paths of a chosen length.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace filetest {

// build/tests/icbs_child.exe, and a command line that runs it with arguments.
std::wstring ChildPath();
std::wstring ChildCommand(const std::wstring& arguments);

// Makes link a link to the folder target (a Unix symbolic link under Wine).
// False when this system cannot make one.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);

// Holds a file open with no sharing at all until releaseAfterMs have passed.
class ExclusiveHolder {
public:
    ExclusiveHolder(const std::wstring& path, DWORD releaseAfterMs);
    ~ExclusiveHolder();
    bool Holding() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::thread releaser_;
};

// folder + "\" + components of 50 characters until the path is at least
// length characters long.
std::wstring PathOfLength(const std::wstring& folder, size_t length);
// The extended form for checking long paths with plain Windows calls.
std::wstring Extended(const std::wstring& path);

}  // namespace filetest
