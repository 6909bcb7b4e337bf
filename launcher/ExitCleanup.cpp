#include "launcher/ExitCleanup.h"

#include "catalogue/PackageFolders.h"
#include "engine/Outcome.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/FolderPath.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/OpenEntry.h"
#include "icbs/UuidString.h"
#include "launcher/SetupLog.h"

namespace {

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// A path in double quotes with its percent signs doubled, so that the
// command interpreter takes it as one literal path.
std::wstring QuotedLiteral(const std::wstring& path) {
    std::wstring literal;
    for (wchar_t c : path) literal += c == L'%' ? std::wstring(L"%%") : std::wstring(1, c);
    return L"\"" + literal + L"\"";
}

// Creates the lock file and keeps it open, without sharing, for the rest of
// the process: the handle is never closed, so the file stays undeletable
// until the process has ended.
bool HoldLockFile(const std::wstring& path) {
    HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return lock != INVALID_HANDLE_VALUE;
}

bool WriteScript(const std::wstring& path, const std::string& bytes) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Starts the script by the full path of the command interpreter, never by
// its own name (which the system would resolve through a search), in the
// system folder (never inside the folder the script removes).
bool StartScript(const std::wstring& script) {
    std::wstring system = SystemFolder();
    if (system.empty()) return false;
    std::wstring interpreter = FolderPath(system).Child(L"cmd.exe");
    std::wstring commandLine = L"\"" + interpreter + L"\" /c \"" + script + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          system.c_str(), &startup, &info))
        return false;
    fw::KernelHandle process(info.hProcess), thread(info.hThread);
    return true;
}

}  // namespace

void DeleteMsiFolders(const PackageCatalogue& catalogue, const std::wstring& leftToScript) {
    for (const std::unique_ptr<SetupPackage>& package : catalogue) {
        if (package->IsInstalled() || package->msiFolder.empty()) continue;
        if (!leftToScript.empty() && fw::EqualsNoCase(package->msiFolder, leftToScript)) continue;
        const std::wstring& folder = package->msiFolder;
        DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        WriteLog(3, L"ZEL (c): Deleting MSI folder %s\r\n", folder.c_str());
        // By handle: a link is removed as a link (deleting through it would
        // empty the folder it points to), also one swapped in meanwhile.
        if (icbs::RemovePathTree(folder)) WriteLog(3, L"ZEL (c): Deleted MSI folder %s\r\n", folder.c_str());
    }
}

bool NeedsSelfDeleteScript(size_t packageCount, bool uninstall, DWORD outcomeCode) {
    // A success that asks for a restart is a success here too.
    return packageCount >= 2 && uninstall && outcome::IsSuccess(outcomeCode);
}

std::wstring SelfDeleteScriptText(const std::wstring& folder, const std::wstring& lock, const std::wstring& system,
                                 const std::wstring& scriptFolder) {
    std::wstring quotedFolder = QuotedLiteral(folder), quotedLock = QuotedLiteral(lock);
    std::wstring ping = QuotedLiteral(FolderPath(system).Child(L"ping.exe"));
    // The launcher holds the lock file open without sharing until its
    // process ends: only then can the file be deleted. The script tries
    // about once a second, five times at most, and then removes the folder
    // (which may hold the running launcher's own file). Its last line is
    // read whole before it runs: the script's own folder goes after it.
    return L"@ECHO OFF\r\n"
           L" SET /A tries=0\r\n"
           L":wait\r\n"
           L" DEL " + quotedLock + L" >NUL 2>NUL\r\n"
           L" IF NOT EXIST " + quotedLock + L" GOTO remove\r\n"
           L" SET /A tries+=1\r\n"
           L" IF %tries% GEQ " + std::to_wstring(kSelfDeleteWaitTries) + L" GOTO remove\r\n"
           L" " + ping + L" -n 2 127.0.0.1 >NUL\r\n"
           L" GOTO wait\r\n"
           L":remove\r\n"
           L" rmdir /S /Q " + quotedFolder + L"\r\n"
           L" DEL \"%~f0\" & rmdir " + QuotedLiteral(scriptFolder);
}

std::wstring SelfDeleteScriptParent() {
    // The system's Windows folder, also for a session that has one of its own.
    wchar_t windows[MAX_PATH] = {};
    UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return FolderPath(std::wstring(windows, length)).Child(L"Temp");
}

std::wstring StartSelfDeleteScript(const std::wstring& folderToRemove) {
    if (folderToRemove.empty()) return std::wstring();
    std::wstring parent = SelfDeleteScriptParent();
    if (parent.empty()) return std::wstring();
    // A folder of its own, of a name nobody can know beforehand, made with
    // the list that lets only administrators write: nobody can have put
    // anything there or made it first (a name taken is never reused).
    std::wstring folder;
    for (int attempt = 0; attempt < 3 && folder.empty(); ++attempt) {
        std::wstring unique;
        if (!icbs::NewUuidString(unique)) return std::wstring();
        std::wstring candidate = FolderPath(parent).Child(kSelfDeleteFolderPrefix + unique);
        if (CreateProtectedFolder(candidate)) folder = candidate;
    }
    if (folder.empty()) return std::wstring();
    std::wstring script = FolderPath(folder).Child(L"SelfDelete.bat");
    std::wstring lock = FolderPath(folder).Child(L"SelfDelete.lock");
    if (!HoldLockFile(lock)) return std::wstring();
    std::wstring text = SelfDeleteScriptText(folderToRemove, lock, SystemFolder(), folder);
    if (!WriteScript(script, fw::ToCodePage(text, CP_ACP)) || !StartScript(script)) return std::wstring();
    return folder;
}
