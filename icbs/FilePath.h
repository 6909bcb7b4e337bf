// A file path as a value, split into its parts: the file name after the last
// "\" or "/", the base name and extension around the file name's last ".",
// and the folder before the last separator.
#pragma once

#include <string>

#include "icbs/FolderPath.h"

class FilePath {
public:
    FilePath() = default;
    explicit FilePath(std::wstring fullPath) : fullPath_(std::move(fullPath)) {}
    FilePath(const FolderPath& folder, const std::wstring& fileName) : fullPath_(folder.Child(fileName)) {}

    const std::wstring& FullPath() const { return fullPath_; }
    // The whole text when it holds no separator.
    std::wstring FileName() const;
    // The file name before its last "." (the whole name when it has none).
    std::wstring BaseName() const;
    // The file name after its last "." without the dot (empty when none).
    std::wstring Extension() const;
    // Everything before the last separator; empty when there is none.
    FolderPath Folder() const;

    bool operator==(const FilePath& other) const { return fullPath_ == other.fullPath_; }

private:
    std::wstring fullPath_;
};
