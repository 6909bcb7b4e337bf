// Checks of the builder's inputs before anything is written: the template
// must be the bare launcher, its Authenticode signature (which a resource
// update would break) is refused or removed, and transforms and pictures
// must be of a language the launcher knows.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"

// The bare launcher: a program file with the launcher's wizard frame and
// product image and no catalogue yet.
bool CheckTemplate(const std::wstring& path, BuildError& error);

// Where the Authenticode signature of a program file sits: the file offset
// and size of its certificate table, and the offset of the directory entry
// that points at it. Nothing found: size 0.
struct SignatureLocation {
    size_t directoryEntry = 0;
    size_t offset = 0;
    size_t size = 0;
    bool Present() const { return size != 0; }
};
SignatureLocation FindSignature(const std::string& programFile);
// The file without its signature: the directory entry cleared and the
// certificate table cut off when it ends the file.
std::string WithoutSignature(const std::string& programFile, const SignatureLocation& signature);

// A transform for the language: one of the launcher's languages other than
// English (1031, 1034, 1036, 1041), and an OLE compound file.
bool CheckTransform(const LanguageFile& transform, BuildError& error);
// A background picture: a language of the launcher's own texts (1031, 1033,
// 1034, 1036, 1041) and a bitmap file.
bool CheckBackground(const LanguageFile& background, BuildError& error);
