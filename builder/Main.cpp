// SetupBuilder: the console program that makes a product installer from the
// bare launcher and Windows Installer packages.
#include <windows.h>

#include <string>
#include <vector>

#include "builder/BuilderArguments.h"
#include "builder/InstallerBuilder.h"
#include "framework/Console.h"
#include "framework/ModulePath.h"

namespace {

std::wstring BuilderFolder() {
    std::wstring path = fw::RunningModulePath();
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

// SOURCE_DATE_EPOCH, when set: seconds since 1970 as a decimal number.
bool ReadSourceDateEpoch(BuildDescription& description, BuildError& error) {
    wchar_t value[64] = {};
    DWORD length = ::GetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", value, 64);
    if (length == 0) return true;
    std::wstring text = length < 64 ? std::wstring(value, length) : std::wstring();
    if (text.empty() || text.size() > 12 || text.find_first_not_of(L"0123456789") != std::wstring::npos) {
        error = {L"", L"SOURCE_DATE_EPOCH must be a number of seconds since 1970-01-01 00:00 UTC, not \"" + text +
                          L"\""};
        return false;
    }
    description.sourceDateEpoch = std::stoll(text);
    return true;
}

int Run(const std::vector<std::wstring>& arguments) {
    BuildDescription description;
    BuildError error;
    if (!ParseBuilderArguments(arguments, description, error)) {
        fw::WriteConsoleText(L"SetupBuilder: " + error.Text() + L"\r\n");
        return error.commandLine ? 2 : 1;
    }
    if (description.help || arguments.empty()) {
        fw::WriteConsoleText(BuilderUsage());
        return description.help ? 0 : 2;
    }
    std::wstring report;
    bool built = ReadSourceDateEpoch(description, error) && BuildInstaller(description, BuilderFolder(), error, report);
    fw::WriteConsoleText(report);
    if (!built) {
        fw::WriteConsoleText(L"SetupBuilder: " + error.Text() + L"\r\n");
        return 1;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (...) {
        fw::WriteConsoleText(L"SetupBuilder: out of memory\r\n");
        return 1;
    }
}
