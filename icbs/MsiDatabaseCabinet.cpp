// One file of the package taken out of the cabinet stored inside it.
#include "icbs/MsiDatabase.h"

#include "icbs/CabinetExtractor.h"
#include "icbs/MsiDatabaseQuery.h"
#include "icbs/MsiFileName.h"

bool ICBSMSIDatabase::ExtractFromEmbeddedCabinet(const std::wstring& fileName, const std::wstring& targetFolder,
                                                 const std::wstring& component) {
    if (!CommitStoredStreams()) return false;
    std::wstring fileKey;
    int sequence = 0;
    {
        std::unique_ptr<ICBSMSIDatabaseQuery> file =
            component.empty()
                ? std::make_unique<ICBSMSIDatabaseQuery>(
                      database_.get(), L"SELECT File, Sequence FROM File WHERE FileName=?", L"%s", fileName)
                : std::make_unique<ICBSMSIDatabaseQuery>(
                      database_.get(), L"SELECT File, Sequence FROM File WHERE Component_=? AND FileName=?",
                      L"%s%s", component, fileName);
        if (!file->Fetch()) return false;
        fileKey = file->GetString(1);
        sequence = file->GetInteger(2);
    }
    std::wstring cabinet;
    {
        ICBSMSIDatabaseQuery media(database_.get(), L"SELECT LastSequence, Cabinet FROM Media");
        while (cabinet.empty() && media.Fetch()) {
            if (media.GetInteger(1) >= sequence) cabinet = media.GetString(2);
        }
    }
    if (cabinet.size() < 2 || cabinet[0] != L'#') return false;
    std::string bytes;
    if (!ReadStream(L"_Streams", cabinet.substr(1), bytes)) return false;
    // The cabinet is read where it lies in memory; only the file is written.
    CabinetExtractor extractor(cabinet.substr(1), CabinetImageFromBytes(bytes), targetFolder);
    return extractor.ExtractFiles({{fileKey, MsiLongFileName(fileName), targetFolder}});
}
