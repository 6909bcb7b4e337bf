// The Property table: reading, inserting, changing and removing a value.
#include "icbs/MsiDatabase.h"

#include "icbs/MsiDatabaseQuery.h"

std::wstring ICBSMSIDatabase::GetProperty(const std::wstring& name) {
    TableDescriptor* descriptor = Descriptor(L"Property");
    if (!descriptor) return std::wstring();
    ICBSMSIDatabaseQuery query(database_.get(), descriptor->KeySelect(1), L"%s", name);
    if (!query.Fetch()) return std::wstring();
    return query.GetString(2);
}

bool ICBSMSIDatabase::SetProperty(const std::wstring& name, const std::optional<std::wstring>& value) {
    TableDescriptor* descriptor = Descriptor(L"Property");
    if (!descriptor) return false;
    ICBSMSIDatabaseQuery query(database_.get(), descriptor->KeySelect(1), L"%s", name);
    if (!query.Succeeded()) return false;
    if (!query.Fetch()) {
        if (!value || value->empty()) return true;
        return InsertRow(L"Property", name, *value);
    }
    UINT result = ERROR_SUCCESS;
    if (value) {
        if (!query.SetString(2, *value)) return false;
        result = query.ModifyRow(MSIMODIFY_UPDATE);
    } else {
        result = query.ModifyRow(MSIMODIFY_DELETE);
    }
    if (result != ERROR_SUCCESS) return false;
    commitOnClose_ = true;
    return true;
}
