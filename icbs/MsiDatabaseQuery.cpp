#include "icbs/MsiDatabaseQuery.h"

#include "icbs/MsiRecordAccess.h"

ICBSMSIDatabaseQuery::~ICBSMSIDatabaseQuery() { row_.reset(); }

bool ICBSMSIDatabaseQuery::Fetch() {
    row_.reset();
    if (!View()) return false;
    return fw::Msi().MsiViewFetch(View(), row_.put()) == ERROR_SUCCESS && row_;
}

std::wstring ICBSMSIDatabaseQuery::GetString(UINT column) const {
    if (!row_) return std::wstring();
    return MsiRecordText(row_.get(), column);
}

int ICBSMSIDatabaseQuery::GetInteger(UINT column) const {
    if (!View() || !row_) return 0;
    return fw::Msi().MsiRecordGetInteger(row_.get(), column);
}

bool ICBSMSIDatabaseQuery::IsNull(UINT column) const {
    return !row_ || fw::Msi().MsiRecordIsNull(row_.get(), column);
}

bool ICBSMSIDatabaseQuery::ReadStream(UINT column, std::string& bytes) const {
    bytes.clear();
    return row_ && MsiRecordStreamBytes(row_.get(), column, bytes);
}

bool ICBSMSIDatabaseQuery::SetString(UINT column, const std::wstring& value) {
    return row_ && fw::Msi().MsiRecordSetStringW(row_.get(), column, value.c_str()) == ERROR_SUCCESS;
}

UINT ICBSMSIDatabaseQuery::ModifyRow(MSIMODIFY mode) {
    if (!View() || !row_) return ERROR_INVALID_HANDLE;
    return fw::Msi().MsiViewModify(View(), mode, row_.get());
}
