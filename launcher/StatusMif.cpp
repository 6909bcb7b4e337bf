#include "launcher/StatusMif.h"

#include "framework/Handles.h"
#include "framework/Text.h"
#include "icbs/MsiDatabase.h"
#include "icbs/SystemErrorText.h"

namespace {

// Summary-information properties.
constexpr UINT kSubject = 3, kAuthor = 4, kTemplate = 7, kRevisionNumber = 9;

// One value as a MIF string holds it.
std::wstring FieldValue(const std::wstring& text, size_t limit) {
    std::wstring value;
    for (wchar_t c : text) {
        if (c == L'"') c = L'\'';
        if (c < L' ') c = L' ';
        if (c == L' ' && (value.empty() || value.back() == L' ')) continue;  // no leading or doubled blanks
        value += c;
    }
    while (!value.empty() && value.back() == L' ') value.pop_back();
    if (value.size() > limit) value.resize(limit);
    return value;
}

std::wstring Attribute(int id, const wchar_t* name, size_t limit, const std::wstring& value) {
    return fw::Format(L"    START ATTRIBUTE\r\n"
                      L"      NAME = \"%s\"\r\n"
                      L"      ID = %d\r\n"
                      L"      ACCESS = READ-ONLY\r\n"
                      L"      STORAGE = SPECIFIC\r\n"
                      L"      TYPE = STRING(%d)\r\n"
                      L"      VALUE = \"%s\"\r\n"
                      L"    END ATTRIBUTE\r\n",
                      name, id, static_cast<int>(limit), FieldValue(value, limit).c_str());
}

std::wstring Group(int id, const wchar_t* name, const wchar_t* className, const std::wstring& attributes) {
    return fw::Format(L"  START GROUP\r\n    NAME = \"%s\"\r\n    ID = %d\r\n    CLASS = \"%s\"\r\n", name, id,
                      className) +
           attributes + L"  END GROUP\r\n";
}

bool HasFolder(const std::wstring& path) { return path.find_first_of(L"\\/:") != std::wstring::npos; }

}  // namespace

std::wstring StatusMifText(const StatusMifFields& fields) {
    std::wstring component = Attribute(1, L"Manufacturer", 64, fields.manufacturer) +
                             Attribute(2, L"Product", 64, fields.product) +
                             Attribute(3, L"Version", 64, fields.version) + Attribute(4, L"Locale", 16, fields.locale) +
                             Attribute(5, L"Serial Number", 64, L"") + Attribute(6, L"Installation", 64, L"DateTime");
    std::wstring status = Attribute(1, L"Status", 32, fields.success ? L"Success" : L"Failed") +
                          Attribute(2, L"Description", 128, fields.description);
    return L"START COMPONENT\r\n  NAME = \"WORKSTATION\"\r\n" +
           Group(1, L"ComponentID", L"DMTF|ComponentID|1.0", component) +
           Group(2, L"InstallStatus", L"MICROSOFT|JOBSTATUS|1.0", status) + L"END COMPONENT\r\n";
}

std::wstring StatusMifPath(const std::wstring& given, const std::wstring& tempFolder) {
    std::wstring path = given;
    if (!HasFolder(given) && !tempFolder.empty()) {
        path = tempFolder;
        if (path.back() != L'\\') path += L'\\';
        path += given;
    }
    if (!fw::EndsWithNoCase(path, L".mif")) path += L".mif";
    return path;
}

bool ReadStatusMifFields(const std::wstring& msiPath, StatusMifFields& fields) {
    ICBSMSIDatabase database(msiPath, false, true);
    if (!database) return false;
    fields.manufacturer = database.GetSummaryString(kAuthor);
    fields.product = database.GetSummaryString(kRevisionNumber);
    fields.version = database.GetSummaryString(kSubject);
    fields.locale = database.GetSummaryString(kTemplate);
    return true;
}

std::wstring StatusMifDescription(const std::wstring& outcomeText, DWORD exitCode) {
    if (!FieldValue(outcomeText, 128).empty()) return outcomeText;
    std::wstring system = SystemErrorText(exitCode);
    if (!FieldValue(system, 128).empty()) return system;
    return fw::Format(L"Installer error %u", static_cast<unsigned>(exitCode));
}

DWORD WriteStatusMif(const std::wstring& path, const std::wstring& text) {
    // Opened as what is there, never followed: a link or a file with a
    // second name would carry the text somewhere else.
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return ::GetLastError();
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file.get(), &info)) return ::GetLastError();
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) || info.nNumberOfLinks > 1)
        return ERROR_CANT_ACCESS_FILE;
    std::string bytes = fw::ToCodePage(text, CP_ACP);
    DWORD written = 0;
    if (!::SetEndOfFile(file.get()) ||
        !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return ::GetLastError();
    return written == bytes.size() ? 0 : ERROR_WRITE_FAULT;
}
