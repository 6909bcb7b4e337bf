// The few file-system helpers that cabinet creation needs: the user's
// temporary folder and a file name that no other file has yet.
#pragma once

#include <string>

namespace cabinet_files {

// GetTempPathW, with a buffer grown until the path fits; empty on failure.
std::wstring TempFolder();

// folder (a "\" added when missing) + pattern formatted with 0, 1, ...
// attempts - 1; the first such file that CREATE_NEW can create is created
// (empty) and its path returned. Empty when every name exists.
std::wstring CreateUniqueFile(const std::wstring& folder, const wchar_t* pattern, int attempts);

// Whether the path names an existing folder.
bool IsFolder(const std::wstring& path);

}  // namespace cabinet_files
