#include "icbs/RegistryKey.h"

#include <vector>

namespace {

constexpr DWORD kSubKeyNameCharacters = 256;

}  // namespace

// ---- subkeys

RegistrySubKeyRange::RegistrySubKeyRange(const RegistryKey& key, bool readOnly, const FILETIME* notBefore)
    : key_(key), readOnly_(readOnly), filtered_(notBefore != nullptr) {
    if (notBefore) notBefore_ = *notBefore;
    if (key_.IsOpen() && ::RegQueryInfoKeyW(key_.Handle(), nullptr, nullptr, nullptr, &count_, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        count_ = 0;
}

std::unique_ptr<RegistryKey> RegistrySubKeyRange::Next() {
    while (key_.IsOpen() && index_ < count_) {
        wchar_t name[kSubKeyNameCharacters];
        DWORD length = kSubKeyNameCharacters;
        FILETIME lastWrite{};
        LSTATUS status =
            ::RegEnumKeyExW(key_.Handle(), index_, name, &length, nullptr, nullptr, nullptr, &lastWrite);
        if (status != ERROR_SUCCESS) {
            index_ = count_;
            return nullptr;
        }
        ++index_;
        if (filtered_ && ::CompareFileTime(&lastWrite, &notBefore_) < 0) continue;
        return std::make_unique<RegistryKey>(key_, std::wstring(name, length), readOnly_, false, 0);
    }
    return nullptr;
}

RegistrySubKeyRange::Iterator::Iterator(RegistrySubKeyRange* range) : range_(range) { ++*this; }

RegistrySubKeyRange::Iterator& RegistrySubKeyRange::Iterator::operator++() {
    if (range_) current_ = range_->Next();
    if (!current_) range_ = nullptr;
    return *this;
}

RegistrySubKeyRange RegistryKey::SubKeys(bool readOnly) const { return RegistrySubKeyRange(*this, readOnly, nullptr); }

RegistrySubKeyRange RegistryKey::SubKeysWrittenSince(const FILETIME& notBefore, bool readOnly) const {
    return RegistrySubKeyRange(*this, readOnly, &notBefore);
}

// ---- value names

RegistryValueNameRange::RegistryValueNameRange(const RegistryKey& key) : key_(key) {
    if (key_.IsOpen() && ::RegQueryInfoKeyW(key_.Handle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            &count_, &maxNameLength_, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        count_ = 0;
}

bool RegistryValueNameRange::Next(std::wstring& name) {
    if (!key_.IsOpen() || index_ >= count_) return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(maxNameLength_) + 1);
    DWORD length = static_cast<DWORD>(buffer.size());
    LSTATUS status =
        ::RegEnumValueW(key_.Handle(), index_, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
        index_ = count_;
        return false;
    }
    ++index_;
    name.assign(buffer.data(), length);
    return true;
}

RegistryValueNameRange::Iterator::Iterator(RegistryValueNameRange* range) : range_(range) {
    if (!range_->Next(current_)) range_ = nullptr;
}

RegistryValueNameRange::Iterator& RegistryValueNameRange::Iterator::operator++() {
    if (range_ && !range_->Next(current_)) range_ = nullptr;
    return *this;
}

RegistryValueNameRange RegistryKey::ValueNames() const { return RegistryValueNameRange(*this); }
