#include "icbs/ICBSIniFileBase.h"

#include "icbs/TextUtilities.h"

const std::wstring& ICBSIniFileBase::EmptyValue() {
    static const std::wstring empty;
    return empty;
}

void ICBSIniFileBase::SplitPath(const wchar_t* path, std::wstring_view separator, std::wstring& section,
                                std::wstring& key) {
    std::wstring_view text = Argument(path);
    if (!icbs::SplitFirst(text, separator, section, key)) {
        section.clear();
        key.assign(text);
    }
}
