// One value bound to a parameter marker ("?") of an installer SQL statement:
// an integer, a text, or nothing (the column's null).
#pragma once

#include <cstddef>
#include <string>

class MsiValue {
public:
    enum class Kind { Null, Integer, Text };

    MsiValue() = default;
    MsiValue(std::nullptr_t) {}
    MsiValue(int value) : kind_(Kind::Integer), integer_(value) {}
    MsiValue(const wchar_t* text) : kind_(text ? Kind::Text : Kind::Null), text_(text ? text : L"") {}
    MsiValue(std::wstring text) : kind_(Kind::Text), text_(std::move(text)) {}

    Kind GetKind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool IsInteger() const { return kind_ == Kind::Integer; }
    int Integer() const { return integer_; }
    const std::wstring& Text() const { return text_; }

private:
    Kind kind_ = Kind::Null;
    int integer_ = 0;
    std::wstring text_;
};
