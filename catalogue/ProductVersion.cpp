#include "catalogue/ProductVersion.h"

#include <cwchar>
#include <vector>

#include "framework/Text.h"

namespace {
std::vector<std::wstring> SplitAtDots(const std::wstring& text) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (true) {
        size_t dot = text.find(L'.', start);
        pieces.push_back(text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
        if (dot == std::wstring::npos) return pieces;
        start = dot + 1;
    }
}
int Number(const std::wstring& piece) { return static_cast<int>(wcstol(piece.c_str(), nullptr, 10)); }
}  // namespace

ProductVersion ParseVersionText(const std::wstring& text) {
    ProductVersion v;
    if (text.empty()) return v;
    std::vector<std::wstring> pieces = SplitAtDots(text);
    v.major = Number(pieces[0]);
    if (pieces.size() > 1) v.minor = Number(pieces[1]);
    if (pieces.size() > 2) v.servicePack = Number(pieces[2].size() < 3 ? pieces[2] : pieces[2].substr(0, 2));
    if (pieces.size() > 3) v.build = Number(pieces[3]);
    return v;
}

bool IsOlder(const ProductVersion& a, const ProductVersion& b) {
    if (a.major != b.major) return a.major < b.major;
    if (a.minor != b.minor) return a.minor < b.minor;
    if (a.servicePack != b.servicePack) return a.servicePack < b.servicePack;
    return a.build < b.build;
}

std::wstring DisplayVersionText(const ProductVersion& v, Numbering numbering) {
    std::wstring text;
    if (numbering == Numbering::Plain) {
        text = fw::Format(L"%d.%d", v.major, v.minor);
    } else {
        text = fw::Format(L"%d", v.major);
        if (v.minor != 0) text += fw::Format(L" rel. %d", v.minor);
    }
    if (v.servicePack != 0) text += fw::Format(L" sp%d", v.servicePack);
    if (v.build == 90) text += L" beta";
    else if (v.build > 90) text += fw::Format(L" beta %d", v.build - 90);
    else if (v.build != 0) text += fw::Format(L" hf%d", v.build);
    return text;
}

std::wstring InstallerVersionText(const ProductVersion& v, Numbering numbering) {
    int major = numbering == Numbering::YearBased ? v.major - 1998 : v.major;
    return fw::Format(L"%d.%d.%d.%d", major, v.minor, v.servicePack, v.build);
}

std::wstring FullVersionText(const ProductVersion& v, Numbering numbering) {
    if (numbering == Numbering::Plain) return fw::Format(L"%d.%d.%d.%d", v.major, v.minor, v.servicePack, v.build);
    return fw::Format(L"%d.%0.2d.%0.2d.%0.2d", v.major, v.minor, v.servicePack, v.build);
}
