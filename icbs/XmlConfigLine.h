// One line of a line-oriented XML configuration file ("<section.key>value
// </section.key>" per line, defaults as commented-out lines), and how a line
// is understood. Lines are never parsed as general XML: a line is a setting,
// a commented-out setting, text kept as it is, or a line of a form that is
// not understood (also kept as it is).
#pragma once

#include <string>
#include <string_view>

struct XmlConfigLine {
    std::wstring text;        // as read; rebuilt on save when isChanged
    bool isElement = false;   // holds one setting element
    bool isComment = false;   // lies (or its setting lies) inside an XML comment
    bool isUnparsed = false;  // a form this class does not understand
    bool isChanged = false;   // changed or added since loading
    std::wstring section;     // element name before the first "."
    std::wstring key;         // element name after the first "." (the whole name without one)
    std::wstring value;       // between start and end tag, as it stands (not unescaped)
};

// Understands one line. insideComment tells whether an XML comment opened on
// an earlier line is still open; it is updated for the next line. A line that
// starts inside such a comment is comment text, never a setting.
XmlConfigLine ClassifyXmlConfigLine(std::wstring text, bool& insideComment);

// Whether text (after leading blanks) is the root element's end tag
// "</config>".
bool IsXmlConfigRootEnd(std::wstring_view text);

// The element name of a setting: section "." key, or the key alone when the
// section is empty.
std::wstring XmlConfigElementName(const XmlConfigLine& line);

// The text of a changed line: four blanks and the element, wrapped in
// "<!--" and "-->" when the setting is commented out.
std::wstring RenderXmlConfigLine(const XmlConfigLine& line);
