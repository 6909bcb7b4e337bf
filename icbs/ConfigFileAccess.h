// The file operations the configuration files need: whether a file exists,
// its whole content, and writing it anew after making its folder.
#pragma once

#include <string>

namespace config_file {

bool Exists(const std::wstring& path);
// The whole content; false when the file cannot be opened or read.
bool ReadAll(const std::wstring& path, std::string& bytes);
// Creates the folders above path as needed; false when that is impossible
// (or the path names no folder).
bool CreateParentFolders(const std::wstring& path);
// Creates or truncates path and writes bytes; false when any step fails.
bool WriteAll(const std::wstring& path, const std::string& bytes);

}  // namespace config_file
