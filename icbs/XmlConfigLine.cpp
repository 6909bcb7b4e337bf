#include "icbs/XmlConfigLine.h"

#include <cwctype>

#include "icbs/TextUtilities.h"

namespace {

bool IsBlank(wchar_t c) { return std::iswspace(c) != 0; }

size_t SkipBlanks(std::wstring_view text, size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

bool OnlyBlanksFrom(std::wstring_view text, size_t at) { return SkipBlanks(text, at) == text.size(); }

// Whether a comment is still open at the end of text, given whether one was
// open at its start.
bool CommentOpenAfter(std::wstring_view text, bool open) {
    size_t at = 0;
    for (;;) {
        size_t found = text.find(open ? L"-->" : L"<!--", at);
        if (found == std::wstring_view::npos) return open;
        at = found + (open ? 3 : 4);
        open = !open;
    }
}

// Whether rest starts with tag as a whole name: "<config" but not
// "<configuration".
bool StartsWithTag(std::wstring_view rest, std::wstring_view tag) {
    if (!icbs::StartsWith(rest, tag)) return false;
    if (rest.size() == tag.size()) return true;
    wchar_t next = rest[tag.size()];
    return next == L'>' || next == L'/' || IsBlank(next);
}

// The root element's start or end tag (a tag named exactly "config").
bool IsRootTag(std::wstring_view rest) { return StartsWithTag(rest, L"<config") || StartsWithTag(rest, L"</config"); }

void MarkUnparsed(XmlConfigLine& line) {
    line.isUnparsed = true;
    line.isElement = false;
    line.section.clear();
    line.key.clear();
    line.value.clear();
}

// Reads the element that starts at text[at] == '<'. Returns the position after
// it, or npos when the line is done (unparsed, or text only).
size_t ReadElement(XmlConfigLine& line, size_t at) {
    const std::wstring& text = line.text;
    size_t nameStart = at + 1, nameEnd = nameStart;
    while (nameEnd < text.size() && text[nameEnd] != L'/' && text[nameEnd] != L'>' && !IsBlank(text[nameEnd]))
        ++nameEnd;
    if (nameEnd == text.size()) {
        MarkUnparsed(line);
        return std::wstring::npos;
    }
    std::wstring name = text.substr(nameStart, nameEnd - nameStart);
    if (text[nameEnd] == L'/') {
        if (nameEnd + 1 >= text.size() || text[nameEnd + 1] != L'>') {
            MarkUnparsed(line);
            return std::wstring::npos;
        }
        // An empty element: its whole name is the key.
        line.isElement = true;
        line.key = name;
        return nameEnd + 2;
    }
    size_t close = nameEnd;
    if (text[nameEnd] != L'>') {
        close = text.find(L'>', nameEnd);  // attributes are skipped
        if (close == std::wstring::npos) {
            MarkUnparsed(line);
            return std::wstring::npos;
        }
    }
    std::wstring endTag = L"</" + name + L">";
    size_t end = text.find(endTag, close + 1);
    if (end == std::wstring::npos) return std::wstring::npos;  // kept as text
    line.isElement = true;
    if (!icbs::SplitFirst(name, L".", line.section, line.key)) line.key = name;
    line.value = text.substr(close + 1, end - close - 1);
    return end + endTag.size();
}

// What may follow the element (or a comment's text) on the line.
void CheckLineEnd(XmlConfigLine& line, size_t at) {
    const std::wstring& text = line.text;
    at = SkipBlanks(text, at);
    if (!line.isComment) {
        if (at < text.size()) MarkUnparsed(line);
        return;
    }
    if (text.compare(at, 3, L"-->") != 0) line.isElement = false;
    size_t end = text.find(L"-->", at);
    if (end == std::wstring::npos || !OnlyBlanksFrom(text, end + 3)) MarkUnparsed(line);
}

}  // namespace

XmlConfigLine ClassifyXmlConfigLine(std::wstring text, bool& insideComment) {
    XmlConfigLine line;
    line.text = std::move(text);
    bool startsInComment = insideComment;
    insideComment = CommentOpenAfter(line.text, insideComment);
    if (startsInComment) {
        line.isComment = true;
        return line;
    }
    std::wstring_view view = line.text;
    size_t at = SkipBlanks(view, 0);
    std::wstring_view rest = view.substr(at);
    if (rest.empty() || icbs::StartsWith(rest, L"<?xml") || IsRootTag(rest)) return line;
    if (icbs::StartsWith(rest, L"<!--")) {
        line.isComment = true;
        at = SkipBlanks(view, at + 4);
    }
    if (at < view.size() && view[at] == L'<') {
        at = ReadElement(line, at);
        if (at == std::wstring::npos) return line;
    }
    CheckLineEnd(line, at);
    return line;
}

bool IsXmlConfigRootEnd(std::wstring_view text) { return StartsWithTag(text.substr(SkipBlanks(text, 0)), L"</config"); }

std::wstring XmlConfigElementName(const XmlConfigLine& line) {
    return line.section.empty() ? line.key : line.section + L"." + line.key;
}

std::wstring RenderXmlConfigLine(const XmlConfigLine& line) {
    std::wstring name = XmlConfigElementName(line);
    std::wstring element = L"<" + name + L">" + line.value + L"</" + name + L">";
    return line.isComment ? L"    <!--" + element + L"-->" : L"    " + element;
}
