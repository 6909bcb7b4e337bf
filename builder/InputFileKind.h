// What kind of file an input is, told from its first bytes: a Windows
// Installer database, patch or transform (compound files told apart by the
// class of their root storage), a program file, or something else.
#pragma once

#include <string>

enum class InputFileKind { Missing, Database, Patch, Transform, ProgramFile, Other };

InputFileKind ClassifyInputFile(const std::wstring& path);

// The builder's line for a --package that is not an installable database;
// empty for a database.
std::wstring PackageKindReason(InputFileKind kind);
