// Running SetupBuilder.exe as a release engineer would, with the fixture
// packages and their language transforms, and reading what it made.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace buildertest {

inline std::wstring BuilderPath() { return testsupport::BuildDir() + L"\\SetupBuilder.exe"; }
inline std::wstring Fixture(const std::wstring& name) { return testsupport::FixtureDir() + L"\\" + name; }
inline std::wstring Transform(const std::wstring& name) {
    return testsupport::FixtureDir() + L"\\transforms\\" + name + L".mst";
}
inline std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

struct BuilderResult {
    DWORD exitCode = 0;
    std::wstring output;
    std::vector<std::wstring> lines;  // the output's non-empty lines
};
BuilderResult RunBuilder(const std::wstring& arguments);

// The arguments of the two-product bundle: the editor (main product) and
// the tools, each with its German, Spanish, French and Japanese transforms
// (a complete multi-language installer), the editor's product id and the
// product image.
std::wstring BundleArguments(const std::wstring& output);

// Every type-40 resource of a file: "NAME/language" -> bytes.
std::vector<std::pair<std::wstring, std::string>> CatalogueResources(const std::wstring& file);

}  // namespace buildertest
