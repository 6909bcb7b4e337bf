#include "icbs/MsiDatabase.h"

#include "icbs/MsiRecordAccess.h"

namespace {

LPCWSTR OpenMode(bool create, bool readOnly) {
    if (readOnly) return MSIDBOPEN_READONLY;
    return create ? MSIDBOPEN_CREATEDIRECT : MSIDBOPEN_DIRECT;
}

}  // namespace

ICBSMSIDatabase::ICBSMSIDatabase(const std::wstring& path, bool create) : ICBSMSIDatabase(path, create, false) {}

ICBSMSIDatabase::ICBSMSIDatabase(const std::wstring& path, bool create, bool readOnly)
    : path_(path), reopenMode_(readOnly ? MSIDBOPEN_READONLY : MSIDBOPEN_DIRECT), commitOnClose_(create) {
    UINT result = fw::Msi().MsiOpenDatabaseW(path_.c_str(), OpenMode(create, readOnly), database_.put());
    if (result != ERROR_SUCCESS) {
        database_.release();  // a failed open hands out nothing to close
        // The installer's description of the failure; nobody reports it here.
        MsiLastErrorText();
    }
}

ICBSMSIDatabase::~ICBSMSIDatabase() { Close(); }

bool ICBSMSIDatabase::Commit() {
    if (summaryDirty_ && summary_) {
        if (fw::Msi().MsiSummaryInfoPersist(summary_.get()) == ERROR_SUCCESS) summaryDirty_ = false;
    }
    if (!commitOnClose_) return true;
    if (fw::Msi().MsiDatabaseCommit(database_.get()) != ERROR_SUCCESS) {
        MsiLastErrorText();
        return false;
    }
    commitOnClose_ = false;
    streamsPending_ = false;
    return true;
}

void ICBSMSIDatabase::Close() {
    if (open_) {
        open_ = false;
        Commit();
        summary_.reset();
        database_.reset();
    }
    tables_.clear();
}

TableDescriptor* ICBSMSIDatabase::Descriptor(const std::wstring& table) {
    auto found = tables_.find(table);
    if (found != tables_.end()) return found->second.get();
    std::unique_ptr<TableDescriptor> loaded = TableDescriptor::Load(database_.get(), table);
    if (!loaded) return nullptr;
    return tables_.emplace(table, std::move(loaded)).first->second.get();
}

bool ICBSMSIDatabase::ExportTable(const std::wstring& table, const std::wstring& folder,
                                  const std::wstring& fileName) {
    return fw::Msi().MsiDatabaseExportW(database_.get(), table.c_str(), folder.c_str(), fileName.c_str()) ==
           ERROR_SUCCESS;
}

bool ICBSMSIDatabase::ImportTable(const std::wstring& folder, const std::wstring& fileName) {
    if (fw::Msi().MsiDatabaseImportW(database_.get(), folder.c_str(), fileName.c_str()) != ERROR_SUCCESS)
        return false;
    commitOnClose_ = true;
    return true;
}
