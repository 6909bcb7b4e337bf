// Paths longer than the classic Windows limits reach the file system in the
// extended-length form ("\\?\C:\..." or "\\?\UNC\server\share\..."); shorter
// ones are passed on exactly as the caller wrote them.
#pragma once

#include <windows.h>

#include <string>

namespace icbs {

// The longest path that file functions take in the plain form.
constexpr size_t kMaxPlainFilePath = MAX_PATH - 1;
// The longest path that CreateDirectoryW takes in the plain form (room is
// left for an 8.3 name inside the folder).
constexpr size_t kMaxPlainFolderPath = MAX_PATH - 13;

// The extended-length form of an absolute path: forward slashes become
// backslashes, a UNC path gets "\\?\UNC\", a path already in the "\\?\" or
// device ("\\.\") form is kept.
std::wstring ExtendedLengthForm(const std::wstring& absolutePath);

// The full path (GetFullPathNameW); the path itself when that fails.
std::wstring FullPathOf(const std::wstring& path);

// The path unchanged when it has at most maxLength characters; otherwise the
// extended-length form of its full path (GetFullPathNameW resolves relative
// parts, which the extended form does not do).
std::wstring ApiPath(const std::wstring& path, size_t maxLength = kMaxPlainFilePath);

}  // namespace icbs
