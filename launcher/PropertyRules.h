// Rules for property assignments given on the command line.
#pragma once

#include <string>

// Port properties (name after its first underscore "WebServer_Port" or
// "SSLWebServer_Port") take decimal numbers only; every other value passes.
bool IsValidPropertyValue(const std::wstring& name, const std::wstring& value);

// The command line as the log shows it: the value of every property whose
// name ends in "_Password" is replaced by "********"; everything else stays
// as it was typed.
std::wstring MaskPasswordsForLog(const std::wstring& arguments);
