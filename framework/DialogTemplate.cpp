#include "framework/DialogTemplate.h"

namespace fw {

namespace {
// A cursor over the template's words; every read checks the end.
class TemplateReader {
public:
    TemplateReader(const void* data, size_t size) : at_(static_cast<const BYTE*>(data)), end_(at_ + size), begin_(at_) {}

    bool Ok() const { return ok_; }
    WORD Word() { return static_cast<WORD>(Read(2)); }
    DWORD Dword() { return static_cast<DWORD>(Read(4)); }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return static_cast<BYTE>(Read(1)); }
    // A string, or an ordinal (0xFFFF and a number), or empty (0).
    std::wstring StringOrOrdinal() {
        if (Peek() == 0xFFFF) {
            Word();
            Word();
            return std::wstring();
        }
        return String();
    }
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); ok_ && c != 0; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    void Skip(size_t bytes) {
        if (static_cast<size_t>(end_ - at_) < bytes) ok_ = false;
        else at_ += bytes;
    }
    void AlignDword() {
        size_t offset = static_cast<size_t>(at_ - begin_);
        Skip((4 - offset % 4) % 4);
    }

private:
    WORD Peek() const { return end_ - at_ >= 2 ? static_cast<WORD>(at_[0] | (at_[1] << 8)) : 0; }
    DWORD Read(size_t bytes) {
        if (static_cast<size_t>(end_ - at_) < bytes) {
            ok_ = false;
            return 0;
        }
        DWORD value = 0;
        for (size_t i = 0; i < bytes; ++i) value |= static_cast<DWORD>(at_[i]) << (8 * i);
        at_ += bytes;
        return value;
    }

    const BYTE* at_;
    const BYTE* end_;
    const BYTE* begin_;
    bool ok_ = true;
};

RECT UnitsRect(short x, short y, short cx, short cy) { return {x, y, x + cx, y + cy}; }
}  // namespace

bool ReadDialogTemplate(const void* data, size_t size, DialogTemplateLayout& layout) {
    if (!data) return false;
    TemplateReader reader(data, size);
    WORD version = reader.Word(), signature = reader.Word();
    if (!reader.Ok() || version != 1 || signature != 0xFFFF) return false;
    reader.Dword();  // help id
    reader.Dword();  // extended style
    DWORD style = reader.Dword();
    WORD count = reader.Word();
    reader.Short();
    reader.Short();
    layout.units = {reader.Short(), reader.Short()};
    reader.StringOrOrdinal();  // menu
    reader.StringOrOrdinal();  // class
    reader.String();           // caption
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        layout.fontPoints = reader.Short();
        layout.fontWeight = reader.Short();
        layout.fontItalic = reader.Byte() != 0;
        layout.fontCharset = reader.Byte();
        layout.fontFace = reader.String();
    }
    layout.items.clear();
    for (WORD i = 0; i < count && reader.Ok(); ++i) {
        reader.AlignDword();
        reader.Dword();  // help id
        reader.Dword();  // extended style
        reader.Dword();  // style
        short x = reader.Short(), y = reader.Short(), cx = reader.Short(), cy = reader.Short();
        DialogTemplateItem item;
        item.id = static_cast<int>(reader.Dword());
        item.units = UnitsRect(x, y, cx, cy);
        reader.StringOrOrdinal();  // class
        reader.StringOrOrdinal();  // text
        reader.Skip(reader.Word());  // creation data
        layout.items.push_back(item);
    }
    return reader.Ok();
}

HFONT CreateTemplateFont(const DialogTemplateLayout& layout, UINT dpi) {
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(layout.fontPoints, static_cast<int>(dpi), 72);
    font.lfWeight = layout.fontWeight;
    font.lfItalic = layout.fontItalic ? TRUE : FALSE;
    font.lfCharSet = layout.fontCharset;
    wcsncpy(font.lfFaceName, layout.fontFace.c_str(), LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

SIZE DialogBaseUnits(HFONT font) {
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    SIZE letters = {0, 0};
    ::GetTextExtentPoint32W(dc, kLetters, 52, &letters);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits) {
    int left = ::MulDiv(units.left, baseUnits.cx, 4), top = ::MulDiv(units.top, baseUnits.cy, 8);
    return {left, top, left + ::MulDiv(units.right - units.left, baseUnits.cx, 4),
            top + ::MulDiv(units.bottom - units.top, baseUnits.cy, 8)};
}

}  // namespace fw
