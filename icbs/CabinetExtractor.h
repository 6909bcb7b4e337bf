// One cabinet extraction job: unpacks a Microsoft cabinet held in memory (by
// default a type-40 resource of the launcher itself) into a folder with the
// cabinet library's decompression interface (FDI). The cabinet is read in
// place through memory streams, never copied or written to disk; only the
// extracted files are written.
//
// Only one extraction runs at a time in the process (further callers wait).
// An extraction that fails leaves no partly written file behind: files that
// were not written completely are removed.
#pragma once

#include <windows.h>
#include <fdi.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "icbs/CabinetEntryTarget.h"
#include "icbs/CabinetImage.h"
#include "icbs/CabinetProgress.h"

class CabinetExtractor {
public:
    // The cabinet in the type-40 resource resourceName of the launcher's own
    // module. cabinetName is the name handed to the library ("Package.cab").
    CabinetExtractor(const std::wstring& cabinetName, const std::wstring& resourceName,
                     const std::wstring& targetFolder);
    // The same, from the resources of another module.
    CabinetExtractor(HMODULE module, const std::wstring& cabinetName, const std::wstring& resourceName,
                     const std::wstring& targetFolder);
    // A cabinet already in memory (no length prefix). The bytes must stay
    // valid while the extractor lives.
    CabinetExtractor(const std::wstring& cabinetName, const CabinetImage& cabinet, const std::wstring& targetFolder);

    CabinetExtractor(const CabinetExtractor&) = delete;
    CabinetExtractor& operator=(const CabinetExtractor&) = delete;

    // Every file into the target folder, under its last name component;
    // progress (may be null) hears of every read of the cabinet. True when
    // every file was written completely.
    bool ExtractAll(ICBSCabinetProgressCallbacks* progress);
    // Only the files that the requests name, without progress. True when the
    // cabinet was read without error and every request found its file.
    bool ExtractFiles(std::vector<ExtractRequest> requests);

    // Set by the last extraction when a write failed for lack of disk space
    // (errors 112 and 39); read after a false result.
    static bool DiskFull();

    // Whether a cabinet was found (a missing resource leaves none; every
    // extraction then fails).
    bool HasCabinet() const { return static_cast<bool>(cabinet_); }

private:
    void Create(const std::wstring& cabinetName, const std::wstring& targetFolder);
    bool Run(ICBSCabinetProgressCallbacks* progress);

    std::string cabinetPath_;  // folder part handed to the library: always empty
    std::string cabinetName_;
    std::vector<ExtractRequest> requests_;
    std::wstring resourceName_;
    std::wstring targetFolder_;
    CabinetImage cabinet_;
    ERF error_ = {};
    fw::FdiContext context_;
};
