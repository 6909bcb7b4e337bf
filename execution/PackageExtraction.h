// Unpacking one package: its installer database from the launcher's own
// resources into the package folder, and the transform of the chosen
// language beside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class SetupPackage;
class ExtractionProgressHandler;
class PayloadDigests;
class RunSession;
struct SetupLanguage;

struct ExtractionContext {
    HMODULE resources = nullptr;  // the module holding the catalogue
    // The language whose transform is written; null when none is.
    const SetupLanguage* transformLanguage = nullptr;
    // The package's payload was checked against its recorded hash already
    // (before any package was unpacked).
    bool payloadChecked = false;
    // The hashes a quiet run worked out ahead (may be null).
    const PayloadDigests* digestsAhead = nullptr;
    // Where a cancelled extraction is recorded (may be null).
    RunSession* session = nullptr;
    // Shows a status text on the page (may be empty: no page to show it).
    std::function<void(const std::wstring&)> showStatus;
    // Writes the language transform's bytes (empty: WriteFile). A test puts
    // a write here that fails part of the way.
    std::function<BOOL(HANDLE file, const void* data, DWORD size, DWORD* written)> writeTransform;
};

// 0 success, 11 disk full, 1620 any other unpacking failure (also a package
// resource whose length does not match its size, or whose cabinet does not
// match its recorded SHA-256: then nothing is unpacked), 1603 when cancelled
// before the package was unpacked. A language transform is named in
// transformFileName only once it is written completely.
DWORD ExtractProduct(SetupPackage& package, ExtractionProgressHandler* progress, const ExtractionContext& context);

// The language transform: written when a language was chosen (a
// multi-language installer), the run installs or modifies, and the language
// is not English.
const SetupLanguage* TransformLanguageFor(bool multiLanguage, bool freshOrModify, const SetupLanguage& current);
