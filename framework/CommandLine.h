// Command-line splitting by Windows' own argument rules and the framework's
// command-line info: every argument is handed to ParseParam as
// (param, isFlag, isLast), where a leading "/" or "-" marks a switch and is
// removed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Splits a whole process command line (program name first) into arguments,
// as the C runtime does for argv: spaces and tabs separate, double quotes
// group, 2n backslashes before a quote give n backslashes, 2n+1 give n and a
// literal quote, and "" inside quotes gives a literal quote. The program name
// itself ends at the next quote (when quoted) or white space, backslashes
// taken literally.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The text after the program name, leading white space removed: the
// arguments as the process received them.
std::wstring ArgumentsText(std::wstring_view commandLine);

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const wchar_t* param, bool isFlag, bool isLast) = 0;
};

// Feeds every argument after the program name to info.ParseParam.
void ParseCommandLine(CCommandLineInfo& info, std::wstring_view commandLine);

}  // namespace fw
