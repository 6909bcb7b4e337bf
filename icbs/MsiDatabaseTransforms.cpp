// Applying transforms (and bringing along the files they add) and
// generating a transform between two databases.
#include "icbs/MsiDatabase.h"

#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabaseQuery.h"
#include "icbs/MsiFileName.h"

namespace {

constexpr int kFileNotCompressed = 0x2000;  // msidbFileAttributesNoncompressed
constexpr int kFileCompressed = 0x4000;     // msidbFileAttributesCompressed

// Copies source + name to target + name; a file already in the target
// folder makes the copy fail.
bool CopyAdded(const std::wstring& source, const std::wstring& target, const std::wstring& name) {
    return ICBSFileUtilities::CopyOneFile(source + name, target + name, true);
}

// Copies the cabinet of the first Media row whose LastSequence reaches
// sequence; no such row is not a failure.
bool CopyCabinetOfSequence(MSIHANDLE database, int sequence, const std::wstring& source, const std::wstring& target) {
    ICBSMSIDatabaseQuery media(database, L"SELECT LastSequence, Cabinet FROM Media");
    while (media.Fetch()) {
        if (media.GetInteger(1) < sequence) continue;
        std::wstring cabinet = media.GetString(2);
        return CopyAdded(source, target, cabinet);
    }
    return true;
}

// Copies what the File row with key brings: the file itself when it is not
// compressed, its cabinet when it is.
bool CopyAddedFile(MSIHANDLE database, const std::wstring& key, const std::wstring& source,
                   const std::wstring& target) {
    ICBSMSIDatabaseQuery file(database, L"SELECT * FROM File WHERE File=?", L"%s", key);
    if (!file.Fetch()) return false;
    // On disk (in the current folder and beside the database) the file has
    // its long name.
    std::wstring fileName = MsiLongFileName(file.GetString(3));
    int attributes = file.GetInteger(7);
    if (attributes & kFileNotCompressed) return CopyAdded(source, target, fileName);
    if (attributes & kFileCompressed) return CopyCabinetOfSequence(database, file.GetInteger(8), source, target);
    return false;
}

}  // namespace

bool ICBSMSIDatabase::ApplyTransforms(const std::vector<std::wstring>& transforms, const std::wstring& sourceFolder,
                                      const std::wstring& targetFolder, std::wstring* failed) {
    std::vector<std::wstring> addedFiles;
    auto fail = [failed](const std::wstring& given) {
        if (failed) *failed = given;
        return false;
    };
    for (const std::wstring& given : transforms) {
        if (!given.empty() && given[0] == L':') return fail(given);  // stored inside the package: not supported
        std::wstring path = given;
        if (!path.empty() && (path[0] == L'@' || path[0] == L'|')) path.erase(0, 1);
        if (!ViewTransform(path, addedFiles)) return fail(given);
        if (fw::Msi().MsiDatabaseApplyTransformW(database_.get(), path.c_str(), 0) != ERROR_SUCCESS) return fail(given);
        commitOnClose_ = true;
    }
    return CopyAddedFiles(addedFiles, sourceFolder + L"\\", targetFolder + L"\\");
}

// The view pass records what the transform would change in the temporary
// table _TransformView, without changing the data; the keys of the File rows
// it inserts are collected from there. Its texts enter the database's string
// table as temporary strings, and an installer that later reuses them for the
// real rows may leave them out when it saves the database (Wine's does, and
// the new values come back empty). So pending changes are committed first,
// and the handle that made the view pass is closed without a commit and the
// database opened again for the real pass.
bool ICBSMSIDatabase::ViewTransform(const std::wstring& transform, std::vector<std::wstring>& addedFiles) {
    if (!database_ || !Commit()) return false;
    summary_.reset();
    bool viewed = fw::Msi().MsiDatabaseApplyTransformW(database_.get(), transform.c_str(),
                                                       MSITRANSFORM_ERROR_VIEWTRANSFORM) == ERROR_SUCCESS;
    if (viewed) {
        ICBSMSIDatabaseQuery changes(database_.get(), L"SELECT * FROM _TransformView");
        while (changes.Fetch()) {
            if (changes.GetString(1) == L"File" && changes.GetString(2) == L"INSERT")
                addedFiles.push_back(changes.GetString(3));
        }
    }
    database_.reset();
    fw::Msi().MsiOpenDatabaseW(path_.c_str(), reopenMode_, database_.put());
    return viewed && database_;
}

bool ICBSMSIDatabase::CopyAddedFiles(const std::vector<std::wstring>& addedFiles, const std::wstring& source,
                                     const std::wstring& target) {
    bool result = true;
    for (const std::wstring& key : addedFiles) {
        if (!CopyAddedFile(database_.get(), key, source, target)) result = false;
    }
    return result;
}

bool ICBSMSIDatabase::GenerateTransform(const std::wstring& otherPath, const std::wstring& transformFile) {
    ICBSMSIDatabase other(otherPath, false);
    if (fw::Msi().MsiDatabaseGenerateTransformW(other.Handle(), database_.get(), transformFile.c_str(), 0, 0) !=
        ERROR_SUCCESS)
        return false;
    return fw::Msi().MsiCreateTransformSummaryInfoW(other.Handle(), database_.get(), transformFile.c_str(),
                                                    MSITRANSFORM_ERROR_CHANGECODEPAGE,
                                                    MSITRANSFORM_VALIDATE_UPGRADECODE) == ERROR_SUCCESS;
}
