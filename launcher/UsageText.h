// The usage text printed for /h, /? and usage errors.
#pragma once

#include <string>

#include "launcher/HelpModel.h"

// Wraps text at 79 columns. Every line starts with indent spaces; "%s" is
// replaced by exeName; a quoted part stays together; an LF starts a new
// line, and an LF followed by a tab starts one indented four more.
std::wstring WrapHelpText(const std::wstring& text, int indent, const std::wstring& exeName);

// The whole usage text; lines end in CR LF except where a syntax line is
// followed by its description.
std::wstring ComposeUsage(const HelpModel& model, const std::wstring& exeName, const StringLoader& load);

// The file name of a module path: the text after the last "\" or, failing
// that, "/".
std::wstring ExecutableName(const std::wstring& modulePath);
