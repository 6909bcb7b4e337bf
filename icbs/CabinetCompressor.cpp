#include "icbs/CabinetCompressor.h"

#include <cstring>

#include "framework/SystemApi.h"
#include "icbs/FolderEntries.h"
#include "icbs/FolderPath.h"

namespace {

// Copies text into one of the CCAB's fixed character arrays; false when it
// does not fit.
template <size_t N>
bool CopyField(char (&field)[N], const std::string& text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

bool IsAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

CabinetCompressor::CabinetCompressor(const std::wstring& cabinetPath, TCOMP compression)
    : compression_(compression) {
    // The library writes the cabinet to szCabPath followed directly by szCab,
    // so the folder keeps its closing backslash.
    size_t separator = cabinetPath.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? std::wstring() : cabinetPath.substr(0, separator + 1);
    std::wstring name = separator == std::wstring::npos ? cabinetPath : cabinetPath.substr(separator + 1);
    if (!CopyField(cabinet_.szCab, cabinet_fci::EncodeName(name)) ||
        !CopyField(cabinet_.szCabPath, cabinet_fci::EncodeName(folder)))
        return;
    Create();
}

CabinetCompressor::CabinetCompressor(HANDLE into, LONG offset, TCOMP compression) : compression_(compression) {
    // A name no file can have: only the callbacks see it.
    user_.intoName = "<cabinet in an open file>";
    user_.intoFile = into;
    user_.intoOffset = offset;
    if (!into || into == INVALID_HANDLE_VALUE || offset < 0 || !CopyField(cabinet_.szCab, user_.intoName)) return;
    Create();
}

void CabinetCompressor::Create() {
    cabinet_.cb = 1000000000;
    cabinet_.cbFolderThresh = 1000000000;
    cabinet_.setID = 1;
    context_.reset(fw::Cabinet().FCICreate(&error_, cabinet_fci::FilePlaced, cabinet_fci::Alloc, cabinet_fci::Free,
                                           cabinet_fci::Open, cabinet_fci::Read, cabinet_fci::Write,
                                           cabinet_fci::Close, cabinet_fci::Seek, cabinet_fci::Delete,
                                           cabinet_fci::GetTempFile, &cabinet_, &user_));
}

CabinetCompressor::~CabinetCompressor() {
    if (context_ && !flushed_) Flush();
}

bool CabinetCompressor::AddFile(const std::wstring& folder, const std::wstring& name,
                                const std::wstring& nameInCabinet) {
    return Add(folder, name, nameInCabinet, compression_);
}

bool CabinetCompressor::AddStoredFile(const std::wstring& folder, const std::wstring& name) {
    return Add(folder, name, std::wstring(), tcompTYPE_NONE);
}

bool CabinetCompressor::Add(const std::wstring& folder, const std::wstring& name, const std::wstring& nameInCabinet,
                            TCOMP type) {
    if (!context_ || flushed_) return false;
    // One folder of the cabinet holds files of one compression type.
    if (added_ && type != lastCompression_ &&
        !fw::Cabinet().FCIFlushFolder(context_.get(), cabinet_fci::GetNextCabinet, cabinet_fci::Status))
        return false;
    added_ = true;
    lastCompression_ = type;
    try {
        std::wstring stored = nameInCabinet.empty() ? name : nameInCabinet;
        std::string source = cabinet_fci::EncodeName(FolderPath(folder).Child(name));
        std::string storedBytes = IsAscii(stored) ? std::string(stored.begin(), stored.end())
                                                  : cabinet_fci::EncodeName(stored);
        user_.nameAttributes = IsAscii(stored) ? 0 : _A_NAME_IS_UTF;
        return fw::Cabinet().FCIAddFile(context_.get(), source.data(), storedBytes.data(), FALSE,
                                        cabinet_fci::GetNextCabinet, cabinet_fci::Status, cabinet_fci::GetOpenInfo,
                                        type) != FALSE;
    } catch (...) {
        return false;
    }
}

bool CabinetCompressor::AddFilePart(const std::wstring& folder, const std::wstring& name, ULONGLONG offset,
                                    ULONGLONG length) {
    user_.sourceRange = true;
    user_.sourceOffset = offset;
    user_.sourceLength = length;
    bool added = AddFile(folder, name);
    user_.sourceRange = false;
    return added;
}

bool CabinetCompressor::AddFolder(const std::wstring& folder, unsigned flags) {
    try {
        return AddFolderEntries(folder, std::wstring(), flags);
    } catch (...) {
        return false;
    }
}

bool CabinetCompressor::AddFolderEntries(const std::wstring& folder, const std::wstring& prefix, unsigned flags) {
    FolderPath parent(folder);
    bool added = true;
    bool listed = icbs::ForEachEntry(folder, L"*.*", [&](const WIN32_FIND_DATAW& entry) {
        std::wstring name = entry.cFileName;
        if (!icbs::IsFolderEntry(entry))
            added = AddFile(folder, name, prefix + name);
        else if (flags & kIncludeSubfolders)
            added = AddFolderEntries(parent.Child(name), prefix + name + L"\\", flags);
        return added;
    });
    // A folder that matches nothing at all holds nothing to add.
    if (!listed) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    return added;
}

bool CabinetCompressor::Flush() {
    if (!context_) return false;
    // A second flush would write an empty cabinet over the finished one.
    if (flushed_) return flushResult_;
    flushed_ = true;
    flushResult_ = fw::Cabinet().FCIFlushCabinet(context_.get(), FALSE, cabinet_fci::GetNextCabinet,
                                                 cabinet_fci::Status) != FALSE;
    return flushResult_;
}
