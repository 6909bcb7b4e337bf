// Shared by the database tests: copies of the fixture packages in a
// temporary folder, and reading tables straight through msi.dll, so that the
// expectations do not depend on the classes under test.
#pragma once

#include "framework/Handles.h"
#include "framework/Text.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace msitest {

using Row = std::vector<std::wstring>;

// Copies build/fixtures/<name>.msi to folder\fileName.
inline std::wstring CopyFixture(const testsupport::TempDir& folder, const std::wstring& name,
                                const std::wstring& fileName = L"package.msi") {
    std::wstring target = folder.File(fileName);
    std::wstring source = testsupport::FixtureDir() + L"\\" + name + L".msi";
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy fixture " << fw::ToCodePage(name, CP_UTF8);
    return target;
}

inline std::wstring Field(MSIHANDLE record, UINT field) {
    DWORD size = 0;
    wchar_t empty[1] = {};
    fw::Msi().MsiRecordGetStringW(record, field, empty, &size);
    std::wstring text(size + 1, L'\0');
    size = static_cast<DWORD>(text.size());
    fw::Msi().MsiRecordGetStringW(record, field, text.data(), &size);
    text.resize(size);
    return text;
}

// Every row of a query on an open database, each field as text.
inline std::vector<Row> Rows(MSIHANDLE database, const std::wstring& sql) {
    std::vector<Row> rows;
    fw::MsiHandle view;
    if (fw::Msi().MsiDatabaseOpenViewW(database, sql.c_str(), view.put()) != ERROR_SUCCESS) return rows;
    if (fw::Msi().MsiViewExecute(view.get(), 0) != ERROR_SUCCESS) return rows;
    fw::MsiHandle record;
    while (fw::Msi().MsiViewFetch(view.get(), record.put()) == ERROR_SUCCESS) {
        Row row;
        UINT count = fw::Msi().MsiRecordGetFieldCount(record.get());
        for (UINT i = 1; i <= count; ++i) row.push_back(Field(record.get(), i));
        rows.push_back(row);
    }
    return rows;
}

// The same on a database file opened read-only for the purpose.
inline std::vector<Row> RowsOf(const std::wstring& path, const std::wstring& sql) {
    fw::MsiHandle database;
    if (fw::Msi().MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, database.put()) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot open database for reading";
        return {};
    }
    return Rows(database.get(), sql);
}

// Every row of a table in a database file, sorted: the tests compare
// contents, not the order in which the installer hands out rows.
inline std::vector<Row> SortedTable(const std::wstring& path, const std::wstring& table) {
    std::vector<Row> rows = RowsOf(path, L"SELECT * FROM `" + table + L"`");
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The value of a property in a database file; "<none>" without a row.
inline std::wstring PropertyOf(const std::wstring& path, const std::wstring& name) {
    std::vector<Row> rows = RowsOf(path, L"SELECT `Value` FROM `Property` WHERE `Property`='" + name + L"'");
    return rows.empty() ? L"<none>" : rows[0][0];
}

inline bool Execute(MSIHANDLE database, const std::wstring& sql) {
    fw::MsiHandle view;
    if (fw::Msi().MsiDatabaseOpenViewW(database, sql.c_str(), view.put()) != ERROR_SUCCESS) return false;
    return fw::Msi().MsiViewExecute(view.get(), 0) == ERROR_SUCCESS;
}

}  // namespace msitest
