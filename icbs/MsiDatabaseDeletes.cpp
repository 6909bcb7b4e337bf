// Deletion of the rows that belong to one action, dialog or error.
#include "icbs/MsiDatabase.h"

bool ICBSMSIDatabase::DeleteActionText(const std::wstring& action) {
    return DeleteRows(L"ActionText", L"`ActionText`.`Action`=?", L"%s", action);
}

bool ICBSMSIDatabase::DeleteControlConditions(const std::wstring& dialog) {
    return DeleteRows(L"ControlCondition", L"`ControlCondition`.`Dialog_`=?", L"%s", dialog);
}

bool ICBSMSIDatabase::DeleteControlEvents(const std::wstring& dialog) {
    return DeleteRows(L"ControlEvent", L"`ControlEvent`.`Dialog_`=?", L"%s", dialog);
}

bool ICBSMSIDatabase::DeleteControls(const std::wstring& dialog) {
    return DeleteRows(L"Control", L"`Control`.`Dialog_`=?", L"%s", dialog);
}

bool ICBSMSIDatabase::DeleteDialog(const std::wstring& dialog) {
    return DeleteRows(L"Dialog", L"`Dialog`.`Dialog`=?", L"%s", dialog);
}

bool ICBSMSIDatabase::DeleteError(const std::wstring& error) {
    return DeleteRows(L"Error", L"`Error`.`Error`=?", L"%s", error);
}

bool ICBSMSIDatabase::RemoveActionFromSequences(const std::wstring& action) {
    static const wchar_t* const kSequences[] = {L"AdminUISequence",        L"AdminExecuteSequence",
                                                L"InstallUISequence",      L"InstallExecuteSequence",
                                                L"AdvtUISequence",         L"AdvtExecuteSequence"};
    bool all = true;
    for (const wchar_t* table : kSequences) {
        std::wstring name(table);
        if (!DeleteRows(name, L"`" + name + L"`.`Action`=?", L"%s", action)) all = false;
    }
    return all;
}
