#include "server/BackupSettings.h"

#include <algorithm>

#include "framework/Text.h"

namespace backup_config {

BackupConfig ParseBackupConfig(const std::vector<std::wstring>& lines, const std::wstring& dataFolder) {
    BackupConfig config;
    config.settingsFound = true;
    config.solutionFolder = dataFolder + L"\\SolutionFiles";
    bool inInstaller = false;
    for (const std::wstring& raw : lines) {
        std::wstring line = fw::Trim(raw, L" \t\r\n");
        if (fw::EqualsNoCase(line, L"[installer]")) {
            inInstaller = true;
            continue;
        }
        if (!line.empty() && line[0] == L'[') {
            inInstaller = false;
            continue;
        }
        if (line.find(L"solutionsworkingdir") != std::wstring::npos) {
            size_t equals = line.find(L'=');
            if (equals != std::wstring::npos && equals != 0) config.solutionFolder = fw::Trim(line.substr(equals + 1), L" \t");
        } else if (inInstaller && line.find(L"avoidbackuponupgrade") != std::wstring::npos &&
                   line.find(L'1') != std::wstring::npos) {
            config.avoidBackup = true;
        }
    }
    return config;
}

uint32_t Megabytes(uint64_t bytes) { return static_cast<uint32_t>(std::min<uint64_t>(bytes / 1048576u, UINT32_MAX)); }

bool TooLittleSpace(uint32_t freeMegabytes, uint32_t backupMegabytes) {
    return static_cast<uint64_t>(freeMegabytes) < static_cast<uint64_t>(backupMegabytes) + 4096u;
}

std::wstring FigureText(uint32_t megabytes) {
    if (megabytes <= 1024) return std::to_wstring(megabytes) + L" MB";
    return std::to_wstring(megabytes / 1024) + L" GB";
}

std::wstring ConfirmationText(bool skip, bool reset, const std::wstring& skipText, const std::wstring& resetText) {
    std::wstring text;
    if (skip) text = skipText;
    if (reset) {
        if (!text.empty()) text += L"\r\n\r\n";
        text += resetText;
    }
    return text;
}

std::wstring BackupPropertyString(bool skip, bool reset) {
    std::wstring text;
    if (reset) text = L"RESET_DATABASE=true";
    if (skip) text += std::wstring(text.empty() ? L"" : L" ") + L"SKIP_BACKUP=true";
    return text;
}

}  // namespace backup_config
