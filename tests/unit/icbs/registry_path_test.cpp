// Shows how a registry key's name and parent path follow from where and how it was opened.
#include <gtest/gtest.h>

#include "icbs/RegistryPath.h"

TEST(RegistryPath, RootParentGivesRootNameAsParentPath) {
    RegistryPathParts parts = ComposeRegistryPath(L"HKEY_LOCAL_MACHINE", L"", L"Software\\X");
    EXPECT_EQ(parts.parentPath, L"HKEY_LOCAL_MACHINE\\Software");
    EXPECT_EQ(parts.name, L"X");

    parts = ComposeRegistryPath(L"HKEY_CURRENT_USER", L"", L"Software");
    EXPECT_EQ(parts.parentPath, L"HKEY_CURRENT_USER");
    EXPECT_EQ(parts.name, L"Software");
}

TEST(RegistryPath, DeeperParentJoinsItsOwnPathAndName) {
    RegistryPathParts parts = ComposeRegistryPath(L"Morvex", L"HKEY_LOCAL_MACHINE\\SOFTWARE", L"Tools\\Setup");
    EXPECT_EQ(parts.parentPath, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Tools");
    EXPECT_EQ(parts.name, L"Setup");

    parts = ComposeRegistryPath(L"Uninstall", L"HKEY_LOCAL_MACHINE\\Software", L"{A-B}");
    EXPECT_EQ(parts.parentPath, L"HKEY_LOCAL_MACHINE\\Software\\Uninstall");
    EXPECT_EQ(parts.name, L"{A-B}");
}

TEST(RegistryPath, SplitsAtFirstBackslash) {
    std::wstring root, rest;
    SplitRegistryRoot(L"HKEY_LOCAL_MACHINE\\Software\\X", root, rest);
    EXPECT_EQ(root, L"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(rest, L"Software\\X");

    SplitRegistryRoot(L"HKEY_CURRENT_USER", root, rest);
    EXPECT_EQ(root, L"HKEY_CURRENT_USER");
    EXPECT_EQ(rest, L"");
}

TEST(RegistryPath, JoinsWithBackslashUnlessRoot) {
    EXPECT_EQ(JoinRegistryPath(L"", L"HKEY_CLASSES_ROOT"), L"HKEY_CLASSES_ROOT");
    EXPECT_EQ(JoinRegistryPath(L"HKEY_CLASSES_ROOT", L".txt"), L"HKEY_CLASSES_ROOT\\.txt");
}
