#include "launcher/UsageText.h"

#include <set>
#include <utility>

namespace {

constexpr size_t kLineWidth = 79;
const wchar_t* const kNewline = L"\r\n";

class Wrapper {
public:
    Wrapper(int indent, const std::wstring& exeName) : indent_(indent), exeName_(exeName) {
        out_.append(static_cast<size_t>(indent), L' ');
        lineStart_ = 0;
    }

    void Place(std::wstring token) {
        if (token.empty()) return;
        size_t lineLength = out_.size() - lineStart_;
        bool lineHasText = lineLength > currentIndent_;
        if (lineHasText && lineLength + token.size() > kLineWidth) {
            // A wrapped line takes the text's indent, also after a line that
            // began with a tab.
            NewLine(static_cast<size_t>(indent_));
            if (token[0] == L' ') token.erase(0, 1);
        }
        out_ += token;
    }

    void NewLine(size_t indent) {
        while (out_.size() > lineStart_ && out_.back() == L' ' && out_.size() - lineStart_ > currentIndent_)
            out_.pop_back();
        out_ += L'\n';
        lineStart_ = out_.size();
        currentIndent_ = indent;
        out_.append(indent, L' ');
    }

    std::wstring Wrap(const std::wstring& text) {
        currentIndent_ = static_cast<size_t>(indent_);
        std::wstring token;
        for (size_t i = 0; i < text.size(); ++i) {
            wchar_t c = text[i];
            if (c == L'%' && i + 1 < text.size() && text[i + 1] == L's') {
                Place(std::exchange(token, std::wstring()));
                Place(exeName_);
                ++i;
            } else if (c == L' ') {
                Place(std::exchange(token, std::wstring()));
                token = L" ";
            } else if (c == L'\n') {
                Place(std::exchange(token, std::wstring()));
                size_t indent = static_cast<size_t>(indent_);
                if (i + 1 < text.size() && text[i + 1] == L'\t') {
                    indent += 4;
                    ++i;
                }
                NewLine(indent);
            } else if (c == L'"') {
                size_t close = text.find(L'"', i + 1);
                size_t end = close == std::wstring::npos ? text.size() : close + 1;
                token.append(text, i, end - i);
                i = end - 1;
            } else {
                token += c;
            }
        }
        Place(token);
        return out_;
    }

private:
    int indent_;
    const std::wstring& exeName_;
    std::wstring out_;
    size_t lineStart_ = 0;
    size_t currentIndent_ = 0;
};

}  // namespace

std::wstring WrapHelpText(const std::wstring& text, int indent, const std::wstring& exeName) {
    if (text.empty()) return std::wstring();
    return Wrapper(indent, exeName).Wrap(text);
}

std::wstring ExecutableName(const std::wstring& modulePath) {
    size_t slash = modulePath.rfind(L'\\');
    if (slash == std::wstring::npos) slash = modulePath.rfind(L'/');
    return slash == std::wstring::npos ? modulePath : modulePath.substr(slash + 1);
}

std::wstring ComposeUsage(const HelpModel& model, const std::wstring& exeName, const StringLoader& load) {
    std::wstring out = kNewline;
    out += exeName + L" - " + load(1068) + kNewline + kNewline;
    for (const CommandHelp& command : model.commands) {
        out += exeName + L" " + command.syntax + L"\n";
        out += WrapHelpText(load(command.descriptionId), 4, exeName);
        out += std::wstring(kNewline) + kNewline;
    }
    out += load(1069) + kNewline;
    std::set<const OptionHelp*> printed;
    for (const CommandHelp& command : model.commands) {
        for (const OptionHelp* option : command.options) {
            if (!printed.insert(option).second) continue;
            out += L"    " + option->syntax + L"\n";
            out += WrapHelpText(load(option->descriptionId), 8, exeName);
            out += std::wstring(kNewline) + kNewline;
        }
    }
    out += WrapHelpText(load(1262), 0, exeName) + kNewline + kNewline;
    for (const PropertyHelpGroup& group : model.groups) {
        out += WrapHelpText(load(group.titleId), 4, exeName) + kNewline;
        for (const auto& property : group.properties) {
            out += L"        " + property->name + L"=" + load(property->placeholderId) + L"\n";
            out += WrapHelpText(load(property->descriptionId), 12, exeName);
            out += std::wstring(kNewline) + kNewline;
        }
    }
    return out;
}
