#include "server/BackupStep.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "engine/CancelFlag.h"
#include "engine/Log.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "server/BackupSettings.h"

using namespace backup_config;

namespace {
std::wstring DataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) return std::wstring();
    std::wstring folder = std::wstring(path) + L"\\Morvex\\SollenveyServer";
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
    return folder;
}

std::vector<std::wstring> TextLines(const std::string& bytes) {
    std::vector<std::wstring> lines;
    size_t begin = 0;
    while (begin <= bytes.size()) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(fw::FromCodePage(std::string_view(bytes).substr(begin, end - begin), CP_ACP));
        begin = end + 1;
    }
    return lines;
}
}  // namespace

BackupStep::BackupStep() : dataFolder_(DataFolder()) {
    solutionFolder_ = dataFolder_.empty() ? std::wstring() : dataFolder_ + L"\\SolutionFiles";
}

bool BackupStep::ReadSettings() {
    avoidBackup_ = false;
    solutionFolder_ = dataFolder_ + L"\\SolutionFiles";
    if (dataFolder_.empty()) return false;
    std::string bytes;
    if (!ICBSFileUtilities::ReadAllBytes(dataFolder_ + L"\\sollenveyserver.cfg", bytes)) return false;
    BackupConfig config = ParseBackupConfig(TextLines(bytes), dataFolder_);
    avoidBackup_ = config.avoidBackup;
    solutionFolder_ = config.solutionFolder;
    return config.settingsFound;
}

void BackupStep::Measure() {
    // The space of the data folder itself: a mounted volume or a drive
    // without a letter counts, and so does a quota.
    ULARGE_INTEGER available = {}, total = {}, free = {};
    if (::GetDiskFreeSpaceExW(dataFolder_.c_str(), &available, &total, &free))
        freeMegabytes_ = Megabytes(available.QuadPart);
    else
        WriteLog(2, L"ZEL (c): GetDiskFreeSpaceExW(%s) failed (%u)\r\n", dataFolder_.c_str(), ::GetLastError());
    progressRange_ = 1 + static_cast<int>(ICBSFileUtilities::ListFiles(solutionFolder_, L"*").size()) +
                     std::max(0, ICBSFileUtilities::CountFolders(solutionFolder_));
    for (const wchar_t* name : {L"sollenvey.db", L"sollenveylog.db", L"sollenveyserver.cfg"}) {
        ULONGLONG size = ICBSFileUtilities::FileSizeOf(dataFolder_ + L"\\" + name);
        if (size == ICBSFileUtilities::kUnknownSize) continue;
        backupBytes_ += size;
        ++fileCount_;
    }
    WalkFolder(solutionFolder_);
}

void BackupStep::WalkFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        if (CancelFlag()) return;
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        // A link is never entered nor counted: what it leads to is no part
        // of the server's files (and may lead in a circle).
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            WalkFolder(folder + L"\\" + name);
        } else {
            backupBytes_ += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            ++fileCount_;
        }
    } while (::FindNextFileW(find.get(), &data));
}
