// The command line's property items (NAME=VALUE) as the server pages read
// them: the name split at its first "_", the value trimmed of tabs and blanks
// and without enclosing double quotes.
#pragma once

#include <string>
#include <vector>

namespace server_items {

struct CommandLineItem {
    std::wstring name;
    std::wstring prefix;  // before the first "_"
    std::wstring rest;    // after it; empty without "_"
    std::wstring value;
};

CommandLineItem SplitItem(const std::wstring& item);

}  // namespace server_items
