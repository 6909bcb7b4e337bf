#include "icbs/ResourceUpdater.h"

#include <algorithm>
#include <cstring>

#include "icbs/LongPath.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"

namespace {

BOOL CALLBACK NoteIconId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
    if (IS_INTRESOURCE(name)) {
        WORD& highest = *reinterpret_cast<WORD*>(context);
        WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        if (id > highest) highest = id;
    }
    return TRUE;
}

// The highest numeric RT_ICON id in the file; 0 when it has none.
WORD HighestIconId(const std::wstring& file) {
    WORD highest = 0;
    ResourceModule module(file);
    if (module) ::EnumResourceNamesW(module.Handle(), RT_ICON, NoteIconId, reinterpret_cast<LONG_PTR>(&highest));
    return highest;
}

// The whole file after `front` bytes of room (read once, straight into
// place: a package may be large).
bool ReadWholeFile(const std::wstring& path, size_t front, std::vector<BYTE>& bytes) {
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return false;
    if (size.QuadPart > 0x7FFFFFFF - static_cast<LONGLONG>(front)) {
        ::SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes.assign(front + static_cast<size_t>(size.QuadPart), 0);
    size_t done = front;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24)), read = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return false;
        if (read == 0) {
            ::SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        done += read;
    }
    return true;
}

template <class T>
T Read(const std::vector<BYTE>& bytes, size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

constexpr size_t kIconHeader = 6;
constexpr size_t kIconFileEntry = 16;
constexpr size_t kGroupEntry = 14;
constexpr size_t kBitmapFileHeader = 14;

}  // namespace

LANGID UpdateLanguageFromText(const std::wstring& languageText) {
    if (languageText.empty()) return MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    return icbs::ResourceLanguageFromText(languageText);
}

ResourceUpdater::ResourceUpdater(const std::wstring& file) : highestIconId_(HighestIconId(file)) {
    update_.reset(::BeginUpdateResourceW(icbs::ApiPath(file).c_str(), FALSE));
    if (!update_) error_ = ::GetLastError() ? ::GetLastError() : ERROR_OPEN_FAILED;
}

bool ResourceUpdater::Fail(DWORD error) {
    if (error_ == ERROR_SUCCESS) error_ = error ? error : ERROR_GEN_FAILURE;
    return false;
}

bool ResourceUpdater::Store(LPCWSTR type, LPCWSTR name, LANGID language, std::vector<BYTE> data) {
    if (!update_ || error_ != ERROR_SUCCESS) return Fail(ERROR_INVALID_HANDLE);
    buffers_.push_back(std::move(data));
    std::vector<BYTE>& kept = buffers_.back();
    if (!::UpdateResourceW(update_.get(), type, const_cast<LPWSTR>(name), language, kept.data(),
                           static_cast<DWORD>(kept.size())))
        return Fail(::GetLastError());
    return true;
}

bool ResourceUpdater::AddData(LPCWSTR type, LPCWSTR name, const std::wstring& languageText, const void* data,
                              size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    if (!bytes && size != 0) return Fail(ERROR_INVALID_PARAMETER);
    return Store(type, name, UpdateLanguageFromText(languageText), std::vector<BYTE>(bytes, bytes + size));
}

bool ResourceUpdater::AddIconFile(LPCWSTR name, LANGID language, const std::vector<BYTE>& file) {
    if (file.size() < kIconHeader || Read<WORD>(file, 0) != 0 || Read<WORD>(file, 2) != 1)
        return Fail(ERROR_INVALID_DATA);
    WORD count = Read<WORD>(file, 4);
    if (count == 0 || file.size() < kIconHeader + count * kIconFileEntry) return Fail(ERROR_INVALID_DATA);
    if (highestIconId_ > 0xFFFF - count) return Fail(ERROR_INVALID_DATA);
    std::vector<BYTE> group(file.begin(), file.begin() + kIconHeader);
    for (WORD i = 0; i < count; ++i) {
        size_t entry = kIconHeader + i * kIconFileEntry;
        DWORD size = Read<DWORD>(file, entry + 8), offset = Read<DWORD>(file, entry + 12);
        if (offset > file.size() || size > file.size() - offset) return Fail(ERROR_INVALID_DATA);
        WORD id = ++highestIconId_;
        if (!Store(RT_ICON, MAKEINTRESOURCEW(id), language,
                   std::vector<BYTE>(file.begin() + offset, file.begin() + offset + size)))
            return false;
        // The group entry: the file entry's first 12 bytes, then the new id.
        group.insert(group.end(), file.begin() + entry, file.begin() + entry + 12);
        group.push_back(static_cast<BYTE>(id & 0xFF));
        group.push_back(static_cast<BYTE>(id >> 8));
    }
    static_assert(kGroupEntry == 12 + 2);
    return Store(RT_GROUP_ICON, name, language, std::move(group));
}

bool ResourceUpdater::AddFileAsResource(LPCWSTR type, LPCWSTR name, const std::wstring& languageText,
                                        const std::wstring& file, bool lengthPrefix) {
    std::vector<BYTE> bytes;
    size_t front = lengthPrefix ? 4 : 0;
    if (!ReadWholeFile(file, front, bytes)) return Fail(::GetLastError());
    if (lengthPrefix) {
        DWORD length = static_cast<DWORD>(bytes.size() - 4);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(length >> (8 * i));
    }
    LANGID language = UpdateLanguageFromText(languageText);
    if (type == RT_BITMAP) {
        if (bytes.size() <= kBitmapFileHeader || (!lengthPrefix && (bytes[0] != 'B' || bytes[1] != 'M')))
            return Fail(ERROR_INVALID_DATA);
        bytes.erase(bytes.begin(), bytes.begin() + kBitmapFileHeader);
    } else if (type == RT_ICON) {
        return AddIconFile(name, language, bytes);
    }
    return Store(type, name, language, std::move(bytes));
}

bool ResourceUpdater::End(bool keep) {
    if (!update_) return false;
    bool commit = keep && error_ == ERROR_SUCCESS;
    if (!commit) {
        update_.reset();  // discards
        buffers_.clear();
        return false;
    }
    bool written = ::EndUpdateResourceW(update_.release(), FALSE) != FALSE;
    if (!written) Fail(::GetLastError());
    buffers_.clear();
    return written;
}
