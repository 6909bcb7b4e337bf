// Windows Installer writes its log into a side file beside the setup log;
// after each call the side file is appended to the setup log and deleted.
// The side file can be large (a verbose log of a big product runs to
// hundreds of megabytes), so it is read and converted in chunks, never held
// whole in memory.
#pragma once

#include <windows.h>

#include <string>

// Converts an installer log, given in chunks of any size, to UTF-16LE: a
// log that starts with the UTF-16LE byte-order mark is taken as it is
// (without the mark), any other as text in the given ANSI code page. A
// character split between two chunks is converted once it is complete.
class InstallerLogConverter {
public:
    explicit InstallerLogConverter(UINT ansiCodePage = CP_ACP);

    // The text of the next chunk, as far as its characters are complete.
    std::wstring Feed(const char* bytes, size_t count);
    // What is left at the end of the log.
    std::wstring Finish();

private:
    enum class Encoding { Unknown, Utf16, Ansi };
    std::wstring ConvertComplete(bool final);

    UINT codePage_;
    Encoding encoding_ = Encoding::Unknown;
    std::string pending_;  // bytes not yet converted: at most one chunk and a character
};

// The length of the longest start of bytes that ends on a character
// boundary in codePage (double-byte code pages and UTF-8 can split there).
size_t CompleteCharactersLength(const std::string& bytes, UINT codePage);

// Which file a handle has open: the volume and the file's index on it.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};
bool IdentityOf(HANDLE file, FileIdentity& identity);

// Appends the side file at path to the open file target, chunkBytes at a
// time, and deletes the side file (through the handle it was read by) once
// all of it has been written. Only a plain file with one name is taken,
// never one reached through a link, and, with expected, only that very
// file. False when there is no such side file or it could not be appended
// whole (it then stays where it is).
bool MergeInstallerLog(const std::wstring& path, HANDLE target, size_t chunkBytes = 64 * 1024,
                       const FileIdentity* expected = nullptr);
