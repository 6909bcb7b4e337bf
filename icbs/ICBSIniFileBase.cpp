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

bool ICBSIniFileBase::HasValueAtPath(const wchar_t* path, std::wstring_view separator) const {
    std::wstring section, key;
    SplitPath(path, separator, section, key);
    return HasValue(section.c_str(), key.c_str());
}

const std::wstring& ICBSIniFileBase::GetValueAtPath(const wchar_t* path, std::wstring_view separator) const {
    std::wstring section, key;
    SplitPath(path, separator, section, key);
    return GetValue(section.c_str(), key.c_str());
}

bool ICBSIniFileBase::SetValueAtPath(const wchar_t* path, std::wstring_view separator, const wchar_t* value) {
    std::wstring section, key;
    SplitPath(path, separator, section, key);
    return SetValue(section.c_str(), key.c_str(), value);
}
