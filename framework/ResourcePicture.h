// A picture the program carries: an installer's own bitmap for one language
// (a bitmap resource, as the builder adds it), else the language-neutral
// picture of the same id, stored as PNG (resource type "PNG") so that one
// compressed copy serves every language.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

namespace fw {

// The picture id of module as a 24-bit DIB section: the bitmap resource in
// language, else the PNG resource in the neutral language; empty when there
// is neither or it is damaged.
GdiObject LoadResourcePicture(HMODULE module, UINT id, LANGID language);

// A bottom-up 24-bit DIB section of width x height pixels; bits receives
// where its pixels are.
GdiObject NewDibSection(int width, int height, void*& bits);

}  // namespace fw
