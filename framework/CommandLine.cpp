#include "framework/CommandLine.h"

namespace fw {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Returns the position after the program name.
size_t SkipProgramName(std::wstring_view line, std::wstring* name) {
    size_t i = 0;
    if (i < line.size() && line[i] == L'"') {
        ++i;
        while (i < line.size() && line[i] != L'"') {
            if (name) name->push_back(line[i]);
            ++i;
        }
        if (i < line.size()) ++i;
    } else {
        while (i < line.size() && !IsBlank(line[i])) {
            if (name) name->push_back(line[i]);
            ++i;
        }
    }
    return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> args;
    std::wstring program;
    size_t i = SkipProgramName(line, &program);
    args.push_back(program);

    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == L'"') {
                arg.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    arg.push_back(L'"');
                    ++i;
                } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    arg.push_back(L'"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg.append(backslashes, L'\\');
                if (i < line.size() && (quoted || !IsBlank(line[i]))) {
                    arg.push_back(line[i]);
                    ++i;
                }
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::wstring ArgumentsText(std::wstring_view line) {
    size_t i = SkipProgramName(line, nullptr);
    while (i < line.size() && IsBlank(line[i])) ++i;
    return std::wstring(line.substr(i));
}

void ParseCommandLine(CCommandLineInfo& info, std::wstring_view commandLine) {
    std::vector<std::wstring> args = SplitCommandLine(commandLine);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        bool isLast = i + 1 == args.size();
        bool isFlag = !arg.empty() && (arg[0] == L'/' || arg[0] == L'-');
        info.ParseParam(isFlag ? arg.c_str() + 1 : arg.c_str(), isFlag, isLast);
    }
}

}  // namespace fw
