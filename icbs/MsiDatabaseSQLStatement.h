// One SQL statement on an installer database: the view is opened and executed
// at once, with its parameter markers bound from a type string of
// two-character specifiers ("%d" integer, "%s" text) and the values.
#pragma once

#include "framework/Handles.h"
#include "icbs/MsiValue.h"

#include <concepts>
#include <string>
#include <vector>

class ICBSMSIDatabaseSQLStatement {
public:
    // No parameters: MsiViewExecute(view, 0).
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql);
    // Values in the order of the specifiers.
    template <class... Values>
        requires(sizeof...(Values) > 0 && (std::constructible_from<MsiValue, Values> && ...))
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql, const wchar_t* types,
                                Values&&... values)
        : ICBSMSIDatabaseSQLStatement(database, sql, types, std::vector<MsiValue>{MsiValue(values)...}) {}
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql, const wchar_t* types,
                                const std::vector<MsiValue>& values);
    // The list-of-strings form: exactly one value per specifier, at least
    // one; "%d" values are decimal texts.
    ICBSMSIDatabaseSQLStatement(MSIHANDLE database, const std::wstring& sql, const wchar_t* types,
                                const std::vector<std::wstring>& texts);

    ICBSMSIDatabaseSQLStatement(const ICBSMSIDatabaseSQLStatement&) = delete;
    ICBSMSIDatabaseSQLStatement& operator=(const ICBSMSIDatabaseSQLStatement&) = delete;
    virtual ~ICBSMSIDatabaseSQLStatement();

    // Runs the statement again with new values (the view is reopened).
    UINT Execute(const wchar_t* types, const std::vector<MsiValue>& values);
    UINT ExecuteTexts(const wchar_t* types, const std::vector<std::wstring>& texts);

    // The last Windows error code: 0 after a successful execution; a
    // statement on database handle 0 keeps ERROR_BADDB (1009).
    UINT Result() const { return result_; }
    bool Succeeded() const { return result_ == ERROR_SUCCESS; }
    MSIHANDLE Database() const { return database_; }
    MSIHANDLE View() const { return view_.get(); }

    // From now on the statement closes the database handle when destroyed.
    void OwnDatabase() { ownedDatabase_.reset(database_); }

private:
    MSIHANDLE database_;
    std::wstring sql_;
    fw::MsiHandle ownedDatabase_;
    fw::MsiHandle view_;
    UINT result_;
    fw::MsiHandle parameters_;
};

// Binds values to a new record as the type string says; the record stays
// empty when the string has no specifier. Returns a Windows error code:
// ERROR_INVALID_PARAMETER when values are missing or left over, or when a
// "%d" text is not a decimal number.
UINT BindMsiParameters(const wchar_t* types, const std::vector<MsiValue>& values, fw::MsiHandle& record);
