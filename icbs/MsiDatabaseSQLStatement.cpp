#include "icbs/MsiDatabaseSQLStatement.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <optional>

namespace {

// The decimal value of text; an empty text is the null integer, anything
// that is not a whole 32-bit number gives nothing.
std::optional<int> DecimalValue(const std::wstring& text) {
    if (text.empty()) return MSI_NULL_INTEGER;
    wchar_t* end = nullptr;
    errno = 0;
    long long value = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != L'\0' || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

UINT SetInteger(MSIHANDLE record, UINT field, const MsiValue& value) {
    int number = MSI_NULL_INTEGER;
    if (value.IsInteger()) {
        number = value.Integer();
    } else if (!value.IsNull()) {
        std::optional<int> parsed = DecimalValue(value.Text());
        if (!parsed) return ERROR_INVALID_PARAMETER;
        number = *parsed;
    }
    return fw::Msi().MsiRecordSetInteger(record, field, number);
}

UINT SetText(MSIHANDLE record, UINT field, const MsiValue& value) {
    std::wstring text = value.IsInteger() ? std::to_wstring(value.Integer()) : value.Text();
    return fw::Msi().MsiRecordSetStringW(record, field, text.c_str());
}

}  // namespace

UINT BindMsiParameters(const wchar_t* types, const std::vector<MsiValue>& values, fw::MsiHandle& record) {
    record.reset();
    size_t length = types ? std::wcslen(types) : 0;
    if (length < 2) return values.empty() ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    record.reset(fw::Msi().MsiCreateRecord(static_cast<UINT>(length / 2)));
    if (!record) return ERROR_OUTOFMEMORY;
    UINT field = 1;
    size_t next = 0;
    for (size_t i = 0; i + 1 < length; i += 2) {
        wchar_t letter = types[i + 1];
        if (letter != L'd' && letter != L's') continue;
        if (next >= values.size()) return ERROR_INVALID_PARAMETER;
        const MsiValue& value = values[next++];
        UINT result = letter == L'd' ? SetInteger(record.get(), field, value) : SetText(record.get(), field, value);
        if (result != ERROR_SUCCESS) return result;
        ++field;
    }
    return next == values.size() ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql)
    : ICBSMSIDatabaseSQLStatement(database, sql, nullptr, std::vector<MsiValue>()) {}

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql,
                                                         const wchar_t* types, const std::vector<MsiValue>& values)
    : database_(database), sql_(sql), result_(database ? ERROR_SUCCESS : ERROR_BADDB) {
    Execute(types, values);
}

ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql,
                                                         const wchar_t* types, const std::vector<std::wstring>& texts)
    : database_(database), sql_(sql), result_(database ? ERROR_SUCCESS : ERROR_BADDB) {
    ExecuteTexts(types, texts);
}

ICBSMSIDatabaseSQLStatement::~ICBSMSIDatabaseSQLStatement() {
    parameters_.reset();
    view_.reset();
    ownedDatabase_.reset();
}

UINT ICBSMSIDatabaseSQLStatement::Execute(const wchar_t* types, const std::vector<MsiValue>& values) {
    view_.reset();
    parameters_.reset();
    UINT opened = fw::Msi().MsiDatabaseOpenViewW(database_, sql_.c_str(), view_.put());
    if (opened != ERROR_SUCCESS) {
        if (database_ != 0) result_ = opened;
        return result_;
    }
    result_ = BindMsiParameters(types, values, parameters_);
    if (result_ != ERROR_SUCCESS) return result_;
    result_ = fw::Msi().MsiViewExecute(view_.get(), parameters_.get());
    return result_;
}

UINT ICBSMSIDatabaseSQLStatement::ExecuteTexts(const wchar_t* types, const std::vector<std::wstring>& texts) {
    size_t length = types ? std::wcslen(types) : 0;
    if (texts.empty() || length != 2 * texts.size()) {
        view_.reset();
        parameters_.reset();
        result_ = ERROR_INVALID_PARAMETER;
        return result_;
    }
    return Execute(types, std::vector<MsiValue>(texts.begin(), texts.end()));
}
