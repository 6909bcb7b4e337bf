#include "tests/builder/BuilderRun.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Handles.h"

namespace buildertest {

BuilderResult RunBuilder(const std::wstring& arguments) {
    testsupport::RunResult run = testsupport::Run(BuilderPath(), arguments, 120000);
    EXPECT_FALSE(run.timedOut) << "the builder did not end in time";
    BuilderResult result;
    result.exitCode = run.exitCode;
    result.output = run.Text();
    for (const std::wstring& line : testsupport::Lines(result.output))
        if (!line.empty()) result.lines.push_back(line);
    return result;
}

std::wstring BundleArguments(const std::wstring& output) {
    std::wstring arguments = L"--out " + Quoted(output);
    for (const wchar_t* product : {L"editor", L"tools"}) {
        arguments += L" --package " + Quoted(Fixture(std::wstring(product) + L".msi"));
        if (std::wstring(product) == L"editor") arguments += L" --product-id DY::E";
        arguments += L" --transform 1031=" + Quoted(Transform(std::wstring(product) + L"_de"));
        arguments += L" --transform=1034=" + Quoted(Transform(std::wstring(product) + L"_es"));
        arguments += L" --transform 1036=" + Quoted(Transform(std::wstring(product) + L"_fr"));
        arguments += L" --transform 1041=" + Quoted(Transform(std::wstring(product) + L"_ja"));
    }
    arguments += L" --product-image " + Quoted(testsupport::SourceDir() + L"\\resources\\QuickInstall.ico");
    return arguments;
}

namespace {
struct Collected {
    HMODULE module;
    std::vector<std::pair<std::wstring, std::string>>* out;
};
BOOL CALLBACK OneLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR context) {
    auto* collected = reinterpret_cast<Collected*>(context);
    HRSRC info = ::FindResourceExW(module, type, name, language);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, info)));
    collected->out->emplace_back(std::wstring(name) + L"/" + std::to_wstring(language),
                                 std::string(data, ::SizeofResource(module, info)));
    return TRUE;
}
BOOL CALLBACK OneName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
    ::EnumResourceLanguagesW(module, type, name, OneLanguage, context);
    return TRUE;
}
}  // namespace

std::vector<std::pair<std::wstring, std::string>> CatalogueResources(const std::wstring& file) {
    std::vector<std::pair<std::wstring, std::string>> resources;
    fw::ModuleHandle module(::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return resources;
    Collected collected{module.get(), &resources};
    ::EnumResourceNamesW(module.get(), MAKEINTRESOURCEW(40), OneName, reinterpret_cast<LONG_PTR>(&collected));
    std::sort(resources.begin(), resources.end());
    return resources;
}

}  // namespace buildertest
