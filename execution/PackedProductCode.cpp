#include "execution/PackedProductCode.h"

#include <cwctype>

namespace {

bool HasGuidShape(const std::wstring& code) {
    if (code.size() != 38 || code.front() != L'{' || code.back() != L'}') return false;
    for (size_t i = 1; i < 37; ++i) {
        bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? code[i] != L'-' : !std::iswxdigit(code[i])) return false;
    }
    return true;
}

}  // namespace

std::wstring PackProductCode(const std::wstring& productCode) {
    if (!HasGuidShape(productCode)) return std::wstring();
    std::wstring packed;
    packed.reserve(32);
    // The first three groups, at these positions of the braced form, each reversed.
    auto appendReversed = [&](size_t start, size_t length) {
        for (size_t i = start + length; i > start; --i) packed.push_back(productCode[i - 1]);
    };
    appendReversed(1, 8);
    appendReversed(10, 4);
    appendReversed(15, 4);
    // The last two groups as eight pairs, the digits of each pair swapped.
    std::wstring rest = productCode.substr(20, 4) + productCode.substr(25, 12);
    for (size_t i = 0; i < rest.size(); i += 2) {
        packed.push_back(rest[i + 1]);
        packed.push_back(rest[i]);
    }
    return packed;
}
