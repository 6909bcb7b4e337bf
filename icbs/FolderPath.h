// A folder path as a value: keeps the path text and builds the paths of the
// entries inside it.
#pragma once

#include <string>

class FolderPath {
public:
    FolderPath() = default;
    explicit FolderPath(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    bool IsEmpty() const { return path_.empty(); }

    // folder + "\" + name. An empty folder gives the name alone (a relative
    // path, never one below the drive root), and a folder that already ends
    // with a separator does not get a second one.
    std::wstring Child(const std::wstring& name) const;
    FolderPath SubFolder(const std::wstring& name) const { return FolderPath(Child(name)); }

    bool operator==(const FolderPath& other) const { return path_ == other.path_; }

private:
    std::wstring path_;
};
