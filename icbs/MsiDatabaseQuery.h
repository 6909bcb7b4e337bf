// A statement whose result rows are fetched one by one; the current row's
// fields are read, changed and written back through the view.
#pragma once

#include "icbs/MsiDatabaseSQLStatement.h"

#include <string>

class ICBSMSIDatabaseQuery : public ICBSMSIDatabaseSQLStatement {
public:
    using ICBSMSIDatabaseSQLStatement::ICBSMSIDatabaseSQLStatement;
    ~ICBSMSIDatabaseQuery() override;

    // Closes the current row and fetches the next; true when a row came.
    bool Fetch();

    MSIHANDLE Row() const { return row_.get(); }
    // Column n (from 1) of the current row: empty without a row.
    std::wstring GetString(UINT column) const;
    // MsiRecordGetInteger of column n; 0 without a view or a row.
    int GetInteger(UINT column) const;
    bool IsNull(UINT column) const;
    // The whole stream of a stream column.
    bool ReadStream(UINT column, std::string& bytes) const;

    // Changes a field of the current row (not yet written back).
    bool SetString(UINT column, const std::wstring& value);
    // MsiViewModify of the current row; ERROR_INVALID_HANDLE without a row.
    UINT ModifyRow(MSIMODIFY mode);

private:
    fw::MsiHandle row_;
};
