// The names the built-in options derive from a product: the desktop
// shortcut's file name and the install-folder property, and their order.
#include <gtest/gtest.h>

#include "catalogue/RelatedProduct.h"
#include "options/BuiltInOptions.h"

namespace {
RelatedProduct Record(const wchar_t* id, const wchar_t* version, bool is64 = false) {
    auto record = ResolveRelatedProduct(id, version, is64, L"", false);
    return record ? *record : RelatedProduct{};
}
}  // namespace

TEST(BuiltInOptionNames, ShortcutFileNames) {
    EXPECT_EQ(DesktopShortcutName(Record(L"DY::E", L"2023.01.00")), L"Morvex Dralyn Enterprise Edition 2023.lnk");
    EXPECT_EQ(DesktopShortcutName(Record(L"QL::E", L"2024.02.00", true)), L"Morvex Quillet 2024 (x64).lnk");
    EXPECT_EQ(DesktopShortcutName(Record(L"SD::Z", L"5.3")), L"Morvex Sollenvey Designer 5.3.lnk");
    EXPECT_EQ(DesktopShortcutName(Record(L"KS::Z", L"2021.01.02", true)), L"Morvex Kestrane 2021 (x64).lnk");
}

TEST(BuiltInOptionNames, InstallFolderPropertyNames) {
    SetupOptionCustomInstallLocation option;
    EXPECT_EQ(option.GetPropertyName(Record(L"BC::S", L"2024.00.00")), L"INSTALLDIR");  // a server of group B
    EXPECT_EQ(option.GetPropertyName(Record(L"PK::S", L"2024.00.00")), L"INSTALLDIR");
    EXPECT_EQ(option.GetPropertyName(Record(L"KS::S", L"2024.00.00")), L"INSTALLDIR");
    EXPECT_EQ(option.GetPropertyName(Record(L"QL::E", L"2024.00.00")), L"QUILLETINSTALLDIR");
    EXPECT_EQ(option.GetPropertyName(Record(L"DY::P", L"2024.00.00")), L"DRALYNINSTALLDIR");
    EXPECT_EQ(option.GetPropertyName(Record(L"SY::S", L"5.0")), L"SOLLENVEYSERVERINSTALLDIR");  // id 17 is outside B
    EXPECT_EQ(option.GetPropertyName(RelatedProduct{}), L"");
}

TEST(BuiltInOptionNames, PrototypesInTheirFixedOrder) {
    OptionList options = CreateBuiltInOptions();
    ASSERT_EQ(options.size(), 7u);
    std::vector<std::wstring> names;
    for (const auto& option : options) names.push_back(option->name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"ADDEXAMPLESTOTRUSTEDLOCATIONS", L"KESTRANESERVER",
                                                L"KestraneServerOptions", L"CREATE_DESKTOP_SHORTCUT", L"",
                                                L"ADDIESUPPORT", L"HTMLISXHTML"}));
}
