// The layout a dialog template gives in dialog units, read back from the
// template, and its conversion to pixels at any DPI: a dialog whose window
// must be laid out again for another DPI places its controls where Windows
// would have placed them there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

struct DialogTemplateItem {
    int id = 0;
    RECT units = {0, 0, 0, 0};  // left, top, right, bottom in dialog units
};

struct DialogTemplateLayout {
    SIZE units = {0, 0};  // client size in dialog units
    int fontPoints = 0;
    int fontWeight = FW_NORMAL;
    bool fontItalic = false;
    BYTE fontCharset = DEFAULT_CHARSET;
    std::wstring fontFace;
    std::vector<DialogTemplateItem> items;
};

// Reads an extended dialog template (DIALOGEX); false when the bytes are no
// such template or end early.
bool ReadDialogTemplate(const void* data, size_t size, DialogTemplateLayout& layout);

// The template's font at dpi, as the dialog manager makes it.
HFONT CreateTemplateFont(const DialogTemplateLayout& layout, UINT dpi);
// The dialog base units of a font: the average width of the Latin letters
// and the character height, as the dialog manager computes them.
SIZE DialogBaseUnits(HFONT font);
// Dialog units to pixels with the given base units (MulDiv, as Windows).
RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits);

}  // namespace fw
