#include "icbs/TableDescriptor.h"

#include "framework/Text.h"
#include "icbs/MsiDatabaseSQLStatement.h"
#include "icbs/MsiRecordAccess.h"

#include <cwctype>

namespace {

std::vector<std::wstring> ColumnInfo(MSIHANDLE view, MSICOLINFO kind) {
    std::vector<std::wstring> items;
    fw::MsiHandle record;
    if (fw::Msi().MsiViewGetColumnInfo(view, kind, record.put()) != ERROR_SUCCESS) return items;
    UINT count = fw::Msi().MsiRecordGetFieldCount(record.get());
    for (UINT field = 1; field <= count; ++field) items.push_back(MsiRecordText(record.get(), field));
    return items;
}

}  // namespace

TableDescriptor::TableDescriptor(std::wstring table, std::vector<std::wstring> columnNames,
                                 std::vector<std::wstring> columnTypes)
    : table_(std::move(table)), columnNames_(std::move(columnNames)), columnTypes_(std::move(columnTypes)) {
    std::wstring columns;
    std::wstring values;
    for (size_t i = 0; i < columnNames_.size(); ++i) {
        if (!columns.empty()) columns += L",";
        columns += L"`" + table_ + L"`.`" + columnNames_[i] + L"`";
        wchar_t letter = i < columnTypes_.size() && !columnTypes_[i].empty()
                             ? static_cast<wchar_t>(std::towlower(columnTypes_[i][0]))
                             : L'\0';
        const wchar_t* specifier = nullptr;
        if (letter == L'i') specifier = L"%d";
        else if (letter == L'l' || letter == L's') specifier = L"%s";
        else if (letter == L'v') hasStreamColumn_ = true;
        if (!specifier) continue;
        if (!values.empty()) values += L",";
        values += L"?";
        insertParameterTypes_ += specifier;
    }
    insertStatement_ =
        fw::Format(L"INSERT INTO `%s` (%s) VALUES (%s)", table_.c_str(), columns.c_str(), values.c_str());
}

std::unique_ptr<TableDescriptor> TableDescriptor::Load(MSIHANDLE database, const std::wstring& table) {
    ICBSMSIDatabaseSQLStatement select(database, fw::Format(L"SELECT * FROM `%s`", table.c_str()));
    if (!select.Succeeded()) return nullptr;
    std::vector<std::wstring> names = ColumnInfo(select.View(), MSICOLINFO_NAMES);
    std::vector<std::wstring> types = ColumnInfo(select.View(), MSICOLINFO_TYPES);
    if (names.empty() || names.size() != types.size()) return nullptr;
    return std::make_unique<TableDescriptor>(table, std::move(names), std::move(types));
}

const std::wstring& TableDescriptor::KeySelect(size_t keyCount) {
    auto found = keySelects_.find(keyCount);
    if (found != keySelects_.end()) return found->second;
    std::wstring text;
    if (keyCount >= 1 && keyCount <= columnNames_.size()) {
        text = L"SELECT * FROM " + table_ + L" WHERE ";
        for (size_t i = 0; i < keyCount; ++i) {
            if (i > 0) text += L" AND ";
            text += columnNames_[i] + L"=?";
        }
    }
    return keySelects_.emplace(keyCount, std::move(text)).first->second;
}
