// The command line's property items (NAME=VALUE) as the server pages read
// them: the name split at its first "_", the value trimmed of tabs and blanks
// and without enclosing double quotes; and the removal of the items whose
// names a page sets itself.
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

// Removes every item whose name is one of names, letter case ignored: the
// pages apply command-line items by prefixes that ignore it, and Windows
// Installer takes every command-line name in capitals, so an item in other
// letters would reach the installer as the very property the page sets.
void RemoveNamedItems(std::vector<std::wstring>& items, const std::vector<std::wstring>& names);

}  // namespace server_items
