// Ranges over the subkeys and the value names of an open registry key, for
// use in range-for loops. A range refers to its key, which must outlive it.
// Included by RegistryKey.h; not meant to be included on its own.
#pragma once

#include <windows.h>

#include <iterator>
#include <memory>
#include <string>

class RegistryKey;

// Yields each subkey as a newly allocated RegistryKey opened below the key.
// The number of subkeys is taken once when the range is made; a name that
// cannot be read ends the iteration. With a time filter, subkeys last
// written before that time are skipped.
class RegistrySubKeyRange {
public:
    RegistrySubKeyRange(const RegistryKey& key, bool readOnly, const FILETIME* notBefore);

    // The next subkey, or null at the end.
    std::unique_ptr<RegistryKey> Next();

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::unique_ptr<RegistryKey>;
        using difference_type = std::ptrdiff_t;
        using pointer = value_type*;
        using reference = value_type&;

        Iterator() = default;
        explicit Iterator(RegistrySubKeyRange* range);
        reference operator*() { return current_; }
        pointer operator->() { return &current_; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return range_ == other.range_; }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        RegistrySubKeyRange* range_ = nullptr;  // null at the end
        std::unique_ptr<RegistryKey> current_;  // the caller may move it out
    };

    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }

private:
    const RegistryKey& key_;
    bool readOnly_;
    bool filtered_;
    FILETIME notBefore_{};
    DWORD count_ = 0;
    DWORD index_ = 0;
};

// Yields the names of the key's values. The number of values is taken once
// when the range is made; a name that cannot be read ends the iteration.
class RegistryValueNameRange {
public:
    explicit RegistryValueNameRange(const RegistryKey& key);

    // Reads the next name; false at the end.
    bool Next(std::wstring& name);

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::wstring;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::wstring*;
        using reference = const std::wstring&;

        Iterator() = default;
        explicit Iterator(RegistryValueNameRange* range);
        reference operator*() const { return current_; }
        pointer operator->() const { return &current_; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return range_ == other.range_; }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        RegistryValueNameRange* range_ = nullptr;  // null at the end
        std::wstring current_;
    };

    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }

private:
    const RegistryKey& key_;
    DWORD count_ = 0;
    DWORD maxNameLength_ = 0;
    DWORD index_ = 0;
};
