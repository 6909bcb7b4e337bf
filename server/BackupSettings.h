// The settings backup page's decisions: what the server's configuration
// file says, the free space and backup figures, when "Skip backup" is
// checked for lack of space, the confirmation and the property string.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace backup_config {

struct BackupConfig {
    bool settingsFound = false;
    bool avoidBackup = false;
    std::wstring solutionFolder;
};

// The lines of sollenveyserver.cfg: its [installer] section and the
// solutions working folder (default: dataFolder\SolutionFiles).
BackupConfig ParseBackupConfig(const std::vector<std::wstring>& lines, const std::wstring& dataFolder);

uint32_t Megabytes(uint64_t bytes);
// Less than 4 GiB would remain after the backup.
bool TooLittleSpace(uint32_t freeMegabytes, uint32_t backupMegabytes);
// "%d MB" up to 1024, else "%d GB" of the MiB divided by 1024.
std::wstring FigureText(uint32_t megabytes);

// skipText, then (after an empty line) resetText, for the checked boxes.
std::wstring ConfirmationText(bool skip, bool reset, const std::wstring& skipText, const std::wstring& resetText);
// "RESET_DATABASE=true" and "SKIP_BACKUP=true", joined by a blank.
std::wstring BackupPropertyString(bool skip, bool reset);

}  // namespace backup_config
