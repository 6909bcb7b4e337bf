// Static operations over the Windows file, folder, security and process
// interfaces. All take and return wide strings and report by a bool, a value
// or an empty string; none throws for a Windows error, and none shows or logs
// anything. Paths longer than the classic limits are handled in the
// extended-length form.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

class ICBSFileUtilities {
public:
    // (name, value) pairs set in the launcher's own environment while a child
    // process starts, so that the child inherits them.
    using EnvironmentOverrides = std::vector<std::pair<std::wstring, std::wstring>>;

    // RunProcess's result when the process could not be started (-1).
    static constexpr DWORD kProcessNotStarted = static_cast<DWORD>(-1);
    // FileSizeOf's result when the file cannot be opened or measured.
    static constexpr ULONGLONG kUnknownSize = ~0ULL;
    static constexpr DWORD kCopyChunkBytes = 8 * 1024 * 1024;
    static constexpr DWORD kSharingRetryDelayMs = 1000;
    static constexpr DWORD kCapturePollMs = 100;

    // Every folder created "secured" carries this descriptor: anonymous logon
    // denied everything; guests, users and authenticated users allowed read,
    // write and execute; administrators allowed everything; all entries
    // inherited by files and subfolders.
    static constexpr const wchar_t* kSecuredFolderSddl =
        L"D:(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;BG)(A;OICI;GRGWGX;;;BU)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";
    // The access list of a folder that only administrators may change:
    // owner Administrators; Administrators and SYSTEM full control, Users
    // read and execute; nothing inherited from the parent.
    static constexpr const wchar_t* kProtectedFolderSddl =
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;BU)";
    // The access list of a folder that everyone may fill but nobody else may
    // rearrange: owner Administrators; Administrators and SYSTEM full
    // control; Everyone, on the folder itself, only list, traverse and create
    // files and folders (0x100027: no deleting or renaming of what others put
    // there), and full control of everything below it (inherit-only);
    // nothing inherited from the parent.
    static constexpr const wchar_t* kOpenBaseFolderSddl =
        L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x100027;;;WD)(A;OICIIO;FA;;;WD)";

    // ---- files
    static bool FileExists(const std::wstring& path);
    // Creates the parent folders, then an empty file (replacing one that exists).
    static bool CreateEmptyFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
    static bool CopyOneFile(const std::wstring& source, const std::wstring& target, bool failIfExists);
    // Copies the whole contents of an open file (read access, any file
    // position) to target, so that the copy is made from the file that was
    // opened, whatever its path holds by now. Creates the target's parent
    // folders; failIfExists refuses an existing target, otherwise it is
    // replaced (a read-only one too). A failed copy leaves no target behind.
    static bool CopyOpenFile(HANDLE source, const std::wstring& target, bool failIfExists);
    static bool MoveOneFile(const std::wstring& source, const std::wstring& target);
    // Success also when the file does not exist; a file in use is tried once
    // more after one second.
    static bool DeleteOneFile(const std::wstring& path);
    static bool SetReadOnly(const std::wstring& path, bool on);
    // Appends the whole source file to the existing target file.
    static bool AppendFile(const std::wstring& target, const std::wstring& source);
    static bool AppendBytes(const std::wstring& path, const void* buffer, DWORD count);
    // Reads up to count bytes from the start; bytesRead (optional) receives how many.
    static bool ReadBytes(const std::wstring& path, void* buffer, DWORD count, DWORD* bytesRead = nullptr);
    // The whole content; false when the file cannot be opened or read.
    static bool ReadAllBytes(const std::wstring& path, std::string& bytes);
    // Creates or truncates the file (its folder must exist) and writes bytes;
    // false when any step fails.
    static bool WriteAllBytes(const std::wstring& path, const std::string& bytes);
    static ULONGLONG FileSizeOf(const std::wstring& path);
    // "major.minor.build.revision" of the fixed file version; empty without one.
    static std::wstring GetFileVersionText(const std::wstring& path);
    // The language id of the first translation entry, as decimal text; empty without one.
    static std::wstring GetFileTranslation(const std::wstring& path);
    // folder + pattern formatted with 0, 1, ... attempts - 1 (the pattern holds
    // one integer conversion such as %d or %x); the first name that can be
    // newly created is created and returned. Empty when none can.
    static std::wstring CreateUniqueFile(const std::wstring& folder, const std::wstring& pattern, int attempts);

    // ---- folders
    // An existing folder counts as success; secured applies kSecuredFolderSddl.
    static bool CreateFolder(const std::wstring& path, bool secured);
    // Creates the folder of a file path with all its missing parents.
    static bool CreateParentFolders(const std::wstring& filePath);
    // Creates the folder with all its missing parents.
    static bool CreateFolderTree(const std::wstring& folder);
    // Deletes everything inside, then the folder; stops at the first failure.
    // Linked folders (reparse points) inside are unlinked, never entered.
    static bool DeleteFolderTree(const std::wstring& folder);
    static bool CopyFolderTree(const std::wstring& source, const std::wstring& target);
    // True also when the folder cannot be enumerated (for example, missing).
    static bool IsFolderEmpty(const std::wstring& folder);
    // 1 + every subfolder at any depth.
    static int CountFolders(const std::wstring& folder);
    // Full paths of the files (not folders) matching folder + "\" + pattern.
    static std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern);

    // ---- access
    // Sets the access of Everyone in the object's DACL to GENERIC_ALL,
    // inherited by subfolders and files.
    static bool GrantEveryoneFullAccess(const std::wstring& path);
    // True when the DACL holds a grant entry with exactly these rights for the
    // trustee, matched by name or by the account name of the entry's SID.
    static bool HasExplicitAccess(const std::wstring& path, DWORD permissions, const std::wstring& trusteeName);
    // Applies kProtectedFolderSddl (owner and protected DACL) to a folder.
    static bool SetProtectedFolderAccess(const std::wstring& path);
    // Applies the owner and the protected DACL of an SDDL text to a folder
    // (never through a link).
    static bool SetFolderSecurity(const std::wstring& path, const wchar_t* sddl);
    // True when the folder's owner and DACL, as the system reports them, are
    // those of the SDDL text.
    static bool HasFolderSecurity(const std::wstring& path, const wchar_t* sddl);
    // True when the path is a junction, symbolic link or other reparse point.
    static bool IsReparsePoint(const std::wstring& path);

    // ---- locations
    static std::wstring GetCurrentFolder();
    static std::wstring GetTempFolder();
    static std::wstring GetWindowsFolder();
    // The short (8.3) form; the path itself when there is none.
    static std::wstring GetShortPath(const std::wstring& path);
    static bool SetCurrentFolder(const std::wstring& path);

    // ---- processes
    // Starts commandLine (in currentFolder when not empty) with the
    // environment overrides. With wait: waits up to timeoutMs, terminates the
    // process with exit code 1 when it is still running, and returns its exit
    // code; processHandleOut then holds the process handle while the call
    // waits (for another thread) and is null again on return. Without wait
    // the result is 0. kProcessNotStarted when the start fails.
    static DWORD RunProcess(const std::wstring& commandLine, bool wait, const std::wstring& currentFolder = {},
                            const EnvironmentOverrides& environment = {}, DWORD timeoutMs = INFINITE,
                            bool showWindow = false, HANDLE* processHandleOut = nullptr);
    // Runs commandLine hidden with pipes for its standard input, output and
    // error: writes inputText (UTF-8) to it, collects its output and error
    // (UTF-8) into outText and errText until it ends or *cancelFlag becomes
    // true (the child is then left running and 259 is returned). Returns the
    // exit code, or the Windows error when the start fails. processHandleOut
    // holds the process handle while the call runs and is null on return.
    static DWORD RunProcessCaptured(const std::wstring& commandLine, const std::wstring& inputText,
                                    std::wstring& outText, std::wstring& errText,
                                    const EnvironmentOverrides& environment = {},
                                    const std::atomic<bool>* cancelFlag = nullptr,
                                    HANDLE* processHandleOut = nullptr);
    // Waits up to timeoutMs; a process still running then is terminated with
    // exit code 1. Returns the exit code and closes both handles.
    static DWORD Wait(PROCESS_INFORMATION& processInfo, DWORD timeoutMs);
};
