// Creates one Microsoft cabinet file with the cabinet library's compression
// interface (FCI). All files go into a single cabinet; the launcher itself
// does not create cabinets, tools and tests do.
#pragma once

#include <windows.h>
#include <fci.h>

#include <string>

#include "framework/Handles.h"
#include "icbs/CabinetFciCallbacks.h"

class CabinetCompressor {
public:
    // Flags of AddFolder.
    enum FolderFlags : unsigned {
        kTopFolderOnly = 0,
        // Also the files of every subfolder, stored as "sub\name".
        kIncludeSubfolders = 1,
    };

    // cabinetPath: the cabinet file to write; compression: tcompTYPE_NONE or
    // tcompTYPE_MSZIP (other types as the library supports them).
    CabinetCompressor(const std::wstring& cabinetPath, TCOMP compression);
    // The cabinet written into an open file (read and write access) from
    // offset on, as the file's last bytes; the file stays the caller's. The
    // cabinet's size is the file's size less offset after Flush.
    CabinetCompressor(HANDLE into, LONG offset, TCOMP compression);
    // Writes the cabinet when Flush was not called yet.
    ~CabinetCompressor();

    CabinetCompressor(const CabinetCompressor&) = delete;
    CabinetCompressor& operator=(const CabinetCompressor&) = delete;

    // folder + "\" + name, stored as nameInCabinet (as name when empty). A
    // stored name in plain ASCII is kept as it is; any other is stored as
    // UTF-8 and marked so.
    bool AddFile(const std::wstring& folder, const std::wstring& name, const std::wstring& nameInCabinet = {});
    // length bytes of folder + "\" + name from offset on, stored as name:
    // a part of a large file, packed beside the other parts.
    bool AddFilePart(const std::wstring& folder, const std::wstring& name, ULONGLONG offset, ULONGLONG length);
    // The temporary files' name pattern (cabinet_fci::kSecondTempFilePattern
    // for a compressor working beside another one); before any file is added.
    void UseTemporaryPattern(const wchar_t* pattern) { user_.tempPattern = pattern; }
    // folder + "\" + name stored as it is (no compression), in a folder of
    // the cabinet of its own: for files that are compressed already.
    bool AddStoredFile(const std::wstring& folder, const std::wstring& name);
    // Every entry gets this time stamp (DOS date and time) and no attribute
    // bits of the file system; before any file is added.
    void UseEntryTime(USHORT date, USHORT time) {
        user_.fixedTime = true;
        user_.entryDate = date;
        user_.entryTime = time;
    }
    // A cabinet written into an open file: the digest of the bytes as they
    // are written (see CabinetWriteDigest); before Flush.
    void UseDigest(CabinetWriteDigest* digest) { user_.intoDigest = digest; }
    // Every file of folder (see FolderFlags), stored under its name relative
    // to folder, in enumeration order. False at the first file that fails.
    bool AddFolder(const std::wstring& folder, unsigned flags);
    // Writes the cabinet. The cabinet is complete afterwards: later AddFile
    // calls fail and a second Flush changes nothing.
    bool Flush();

    bool IsValid() const { return static_cast<bool>(context_); }

private:
    void Create();
    bool Add(const std::wstring& folder, const std::wstring& name, const std::wstring& nameInCabinet, TCOMP type);
    bool AddFolderEntries(const std::wstring& folder, const std::wstring& prefix, unsigned flags);

    CCAB cabinet_ = {};  // the library keeps a pointer to it
    ERF error_ = {};
    TCOMP compression_;
    cabinet_fci::UserData user_;
    fw::FciContext context_;
    bool flushed_ = false;
    bool added_ = false;
    TCOMP lastCompression_ = 0;
    bool flushResult_ = false;
};
