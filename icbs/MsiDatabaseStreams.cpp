// Stream columns: storing a file as a row's stream, reading it back, and
// writing all streams of a table into a folder.
#include "icbs/MsiDatabase.h"

#include "framework/Text.h"
#include "icbs/MsiDatabaseQuery.h"
#include "icbs/MsiRecordAccess.h"

namespace {

std::wstring SelectByName(const std::wstring& table) {
    return fw::Format(L"SELECT Name, Data FROM `%s` WHERE Name=?", table.c_str());
}

// A stream name becomes a file name inside the export folder: names that
// would leave it (separators, drive letters, dot names) are refused.
bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.find_first_of(L"\\/:") == std::wstring::npos;
}

}  // namespace

bool ICBSMSIDatabase::SetStream(const std::wstring& table, const std::wstring& name, const std::wstring& file) {
    {
        ICBSMSIDatabaseQuery existing(database_.get(), SelectByName(table), L"%s", name);
        if (!existing.Succeeded()) return false;
        if (existing.Fetch() && existing.ModifyRow(MSIMODIFY_DELETE) != ERROR_SUCCESS) return false;
    }
    fw::MsiHandle record(fw::Msi().MsiCreateRecord(2));
    if (!record) return false;
    if (fw::Msi().MsiRecordSetStringW(record.get(), 1, name.c_str()) != ERROR_SUCCESS ||
        fw::Msi().MsiRecordSetStreamW(record.get(), 2, file.c_str()) != ERROR_SUCCESS)
        return false;
    fw::MsiHandle view;
    std::wstring insert = fw::Format(L"INSERT INTO `%s` (`Name`, `Data`) VALUES (?, ?)", table.c_str());
    if (fw::Msi().MsiDatabaseOpenViewW(database_.get(), insert.c_str(), view.put()) != ERROR_SUCCESS) return false;
    if (fw::Msi().MsiViewExecute(view.get(), record.get()) != ERROR_SUCCESS) return false;
    commitOnClose_ = true;
    streamsPending_ = true;
    return true;
}

// Wine's installer cannot commit a stream that was read back before it was
// first committed (the commit fails and the changes would be lost on
// close), so streams stored since the last commit are committed before any
// stream is read.
bool ICBSMSIDatabase::CommitStoredStreams() { return !streamsPending_ || Commit(); }

bool ICBSMSIDatabase::ReadStream(const std::wstring& table, const std::wstring& name, std::string& bytes) {
    bytes.clear();
    if (!CommitStoredStreams()) return false;
    ICBSMSIDatabaseQuery query(database_.get(), SelectByName(table), L"%s", name);
    return query.Fetch() && query.ReadStream(2, bytes);
}

bool ICBSMSIDatabase::ExportStreams(const std::wstring& table, const std::wstring& folder) {
    if (!CommitStoredStreams()) return false;
    ICBSMSIDatabaseQuery query(database_.get(), fw::Format(L"SELECT Data, Name FROM `%s`", table.c_str()));
    if (!query.Succeeded()) return false;
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    bool all = true;
    while (query.Fetch()) {
        std::wstring name = query.GetString(2);
        if (!IsPlainFileName(name) || !MsiRecordStreamToFile(query.Row(), 1, prefix + name)) all = false;
    }
    return all;
}
