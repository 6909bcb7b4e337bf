#include "server/CommandLineItem.h"

#include <algorithm>

#include "framework/Text.h"

namespace server_items {

CommandLineItem SplitItem(const std::wstring& item) {
    CommandLineItem result;
    size_t equals = item.find(L'=');
    result.name = item.substr(0, equals);
    size_t underscore = result.name.find(L'_');
    result.prefix = result.name.substr(0, underscore);
    if (underscore != std::wstring::npos) result.rest = result.name.substr(underscore + 1);
    if (equals != std::wstring::npos) {
        std::wstring value = fw::Trim(std::wstring_view(item).substr(equals + 1), L" \t");
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
        result.value = std::move(value);
    }
    return result;
}

}  // namespace server_items
