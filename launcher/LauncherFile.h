// The launcher's own executable file, held open for the whole run. Copies of
// the launcher (the one kept for the uninstall entry) are made from this
// handle, never from the path: the folder the launcher was started from is
// usually writable by its user, and the file there could be swapped after
// the start. The handle shares reading only, so while the launcher runs its
// file can be neither written nor renamed nor deleted.
#pragma once

#include <string>

#include "framework/Handles.h"

// Opens path for reading with that sharing; an empty handle when it cannot
// be opened.
fw::FileHandle OpenLauncherFile(const std::wstring& path);
