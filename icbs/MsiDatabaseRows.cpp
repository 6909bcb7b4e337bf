// Row insertion and deletion through the composed statements of each table.
#include "icbs/MsiDatabase.h"

#include "icbs/MsiDatabaseQuery.h"

bool ICBSMSIDatabase::InsertRow(const std::wstring& table, const std::vector<MsiValue>& values) {
    TableDescriptor* descriptor = Descriptor(table);
    if (!descriptor || descriptor->HasStreamColumn()) return false;
    size_t count = descriptor->InsertParameterCount();
    if (values.size() > count) return false;
    std::vector<MsiValue> row = values;
    row.resize(count);  // the columns left out are null
    ICBSMSIDatabaseSQLStatement insert(database_.get(), descriptor->InsertStatement(),
                                       descriptor->InsertParameterTypes().c_str(), row);
    if (!insert.Succeeded()) return false;
    commitOnClose_ = true;
    return true;
}

// "DELETE FROM `table` WHERE condition" removes wrong rows under some
// Windows Installer implementations when several rows match (the matches are
// numbered before the first one goes, and the numbers then point at other
// rows). So the matching rows are counted with a SELECT of the same
// condition, and then removed one at a time: the SELECT is run again and its
// first row deleted through the view, which finds the row by its key.
bool ICBSMSIDatabase::DeleteRows(const std::wstring& table, const std::wstring& condition, const wchar_t* types,
                                 const std::vector<MsiValue>& values) {
    ICBSMSIDatabaseQuery select(database_.get(), L"SELECT * FROM `" + table + L"` WHERE " + condition, types,
                                values);
    if (!select.Succeeded()) return false;
    size_t matches = 0;
    while (select.Fetch()) ++matches;
    for (size_t i = 0; i < matches; ++i) {
        if (select.Execute(types, values) != ERROR_SUCCESS) return false;
        if (!select.Fetch()) break;
        if (select.ModifyRow(MSIMODIFY_DELETE) != ERROR_SUCCESS) return false;
        commitOnClose_ = true;
    }
    return true;
}

int ICBSMSIDatabase::GetComponentAttributes(const std::wstring& component) {
    ICBSMSIDatabaseQuery query(database_.get(), L"SELECT * FROM Component WHERE Component=?", L"%s", component);
    if (!query.Fetch()) return 0;
    return query.GetInteger(4);
}
