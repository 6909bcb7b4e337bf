#include "launcher/InstallerLogMerge.h"

#include <string_view>
#include <vector>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/OpenEntry.h"

size_t CompleteCharactersLength(const std::string& bytes, UINT codePage) {
    if (codePage == CP_ACP) codePage = ::GetACP();
    size_t size = bytes.size();
    if (codePage == CP_UTF8) {
        size_t start = size;
        while (start > 0 && size - start < 3 && (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80) --start;
        if (start == 0) return size;
        unsigned char lead = static_cast<unsigned char>(bytes[start - 1]);
        size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        return size - (start - 1) < needed ? start - 1 : size;
    }
    CPINFO info = {};
    if (!::GetCPInfo(codePage, &info) || info.MaxCharSize < 2) return size;
    size_t at = 0;
    while (at < size) {
        if (!::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at]))) {
            ++at;
            continue;
        }
        if (at + 1 >= size) return at;
        at += 2;
    }
    return size;
}

InstallerLogConverter::InstallerLogConverter(UINT ansiCodePage) : codePage_(ansiCodePage) {}

std::wstring InstallerLogConverter::Feed(const char* bytes, size_t count) {
    pending_.append(bytes, count);
    return ConvertComplete(false);
}

std::wstring InstallerLogConverter::Finish() { return ConvertComplete(true); }

std::wstring InstallerLogConverter::ConvertComplete(bool final) {
    if (encoding_ == Encoding::Unknown) {
        if (pending_.size() < 2 && !final) return std::wstring();
        bool utf16 = pending_.size() >= 2 && static_cast<unsigned char>(pending_[0]) == 0xFF &&
                     static_cast<unsigned char>(pending_[1]) == 0xFE;
        encoding_ = utf16 ? Encoding::Utf16 : Encoding::Ansi;
        if (utf16) pending_.erase(0, 2);
    }
    size_t complete = pending_.size();
    if (!final) {
        complete = encoding_ == Encoding::Utf16 ? complete - complete % sizeof(wchar_t)
                                                : CompleteCharactersLength(pending_, codePage_);
    }
    std::wstring text;
    if (encoding_ == Encoding::Utf16) {
        // A last odd byte at the end of the log has no character.
        text.assign(reinterpret_cast<const wchar_t*>(pending_.data()), complete / sizeof(wchar_t));
    } else {
        text = fw::FromCodePage(std::string_view(pending_.data(), complete), codePage_);
    }
    pending_.erase(0, final ? pending_.size() : complete);
    return text;
}

namespace {
bool WriteText(HANDLE target, const std::wstring& text) {
    if (text.empty()) return true;
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t)), written = 0;
    return ::WriteFile(target, text.data(), bytes, &written, nullptr) && written == bytes;
}
}  // namespace

bool IdentityOf(HANDLE file, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file, &info)) return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool MergeInstallerLog(const std::wstring& path, HANDLE target, size_t chunkBytes, const FileIdentity* expected) {
    if (target == nullptr || target == INVALID_HANDLE_VALUE || chunkBytes == 0) return false;
    fw::FileHandle source = icbs::OpenNoFollow(path, GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES);
    icbs::EntryFacts facts;
    FileIdentity identity;
    if (!source || !icbs::ReadFacts(source.get(), nullptr, path, facts) || facts.IsLink() || facts.IsFolder() ||
        facts.links != 1 || !IdentityOf(source.get(), identity) || (expected && !(identity == *expected)))
        return false;
    InstallerLogConverter converter;
    std::vector<char> buffer(chunkBytes);
    bool complete = true;
    DWORD read = 0;
    while (true) {
        if (!::ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            complete = false;
            break;
        }
        if (read == 0) break;
        if (!WriteText(target, converter.Feed(buffer.data(), read))) {
            complete = false;
            break;
        }
    }
    if (complete) complete = WriteText(target, converter.Finish());
    ::FlushFileBuffers(target);
    if (complete) icbs::DeleteOpen(source.get());
    return complete;
}
