// Whether two paths name the same file, as Windows decides: the full paths
// (the current folder, "." and "..", either separator) compared without
// regard to case; when both files exist, also their file identities (links,
// short names and other spellings of one file).
#pragma once

#include <string>

bool SameFile(const std::wstring& a, const std::wstring& b);
