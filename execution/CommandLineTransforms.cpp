#include "execution/CommandLineTransforms.h"

#include "catalogue/SetupPackage.h"
#include "engine/Log.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabase.h"

std::vector<std::wstring> SplitTransformList(const std::wstring& list) {
    std::vector<std::wstring> paths;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos) end = list.size();
        if (end > start) paths.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

std::wstring FolderOfFile(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

bool ApplyCommandLineTransforms(SetupPackage& package, const std::wstring& list) {
    package.commandLineTransformsApplied = true;
    if (list.empty()) return true;
    std::wstring sourceFolder = ICBSFileUtilities::GetCurrentFolder();
    std::wstring targetFolder = FolderOfFile(package.msiFileName);

    ICBSMSIDatabase database(package.msiFileName, false);
    if (!database) {
        WriteLogRaw(2, L"ZEL (c): Cannot open MIS database file " + package.msiFileName +
                           L". No transformations applied.");
        return true;
    }
    WriteLogRaw(2, L"ZEL (c): Applying transformations: " + list + L"\r\n");
    std::wstring failed;
    bool applied = database.ApplyTransforms(SplitTransformList(list), sourceFolder, targetFolder, &failed);
    // Committed before the result is logged, so that a database that could
    // not be saved is not reported as transformed. Transforms applied before
    // a failing one are saved as well.
    bool committed = database.Commit();
    database.Close();
    if (applied && committed) {
        WriteLogRaw(3, L"ZEL (c): Transformations successfully applied\r\n");
        return true;
    }
    if (!failed.empty())
        WriteLogRaw(1, L"ZEL (c): The transform " + failed + L" could not be applied to " + package.msiFileName +
                           L".\r\n");
    else if (!applied)
        WriteLogRaw(1, L"ZEL (c): A file that the transforms add could not be put beside " + package.msiFileName +
                           L".\r\n");
    WriteLogRaw(2, L"ZEL (c): Transformations failed\r\n");
    return false;
}
