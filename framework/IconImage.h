// Icons drawn at the size a layout asks for at the window's DPI: the image
// of an icon group that is at least that large (the largest there is when
// none is), scaled down, never a small image stretched up while a larger
// one exists.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

#include <vector>

namespace fw {

struct IconImageSize {
    int pixels;    // width (a square image)
    int bitCount;  // colour depth
};
// The image an icon is drawn from at size pixels: the smallest that is at
// least that large (the deepest colours among equals), else the largest;
// its index, -1 for none.
int ChooseIconImage(const std::vector<IconImageSize>& images, int size);

// The icon group name (or MAKEINTRESOURCE id) of module, in language (0:
// the system's choice), at size x size pixels; empty when it is missing.
IconHandle LoadIconAtSize(HMODULE module, const wchar_t* name, int size, LANGID language = 0);

}  // namespace fw
