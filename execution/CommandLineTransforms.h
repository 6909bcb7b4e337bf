// The transforms named on the command line ("TRANSFORMS="): the launcher
// applies them itself to a package's unpacked database, which is changed and
// committed on disk, and brings the files they add (uncompressed, or in an
// external cabinet) from its current folder next to the database. Language
// transforms do not come this way: Windows Installer applies those itself.
#pragma once

#include <string>
#include <vector>

class SetupPackage;

// The transform paths of a ";"-separated list, in order; empty items (two
// separators in a row, one at either end) are left out.
std::vector<std::wstring> SplitTransformList(const std::wstring& list);

// The folder part of a file path: everything before its last "\" or "/";
// "." (the current folder) for a bare file name.
std::wstring FolderOfFile(const std::wstring& path);

// Applies the list to package.msiFileName in direct mode, logs what
// happened (naming a transform that did not apply) and records in the
// package that its database has them. False when a transform did not apply
// or a file it adds could not be brought beside the database; an empty list
// leaves the database unopened, and a database that cannot be opened is
// left to the Windows Installer call that follows (both true).
bool ApplyCommandLineTransforms(SetupPackage& package, const std::wstring& list);
