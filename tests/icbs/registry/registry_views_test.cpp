// Shows that RegistryKey reaches the 32-bit and 64-bit registry views it names, the same from a 32-bit and a 64-bit program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "icbs/RegistryKey.h"

namespace {

// Whether a key exists in the given view, asked with the plain registry
// functions.
bool ExistsInView(HKEY root, const std::wstring& subKey, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

constexpr bool kSixtyFourBitProgram = sizeof(void*) == 8;

// The views differ only on 64-bit Windows (a 32-bit program runs there
// under WOW64, a 64-bit one natively).
bool OnSixtyFourBitWindows() {
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

}  // namespace

TEST(RegistryViews, SixtyFourBitWriteLandsOutsideTheRedirectedFolder) {
    ASSERT_TRUE(OnSixtyFourBitWindows()) << "the view tests need 64-bit Windows";
    RegistryKey key(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView64", false, true, KEY_WOW64_64KEY);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ExtraAccess(), static_cast<REGSAM>(KEY_WOW64_64KEY));
    ASSERT_TRUE(key.SetString(L"Where", L"64"));

    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsView64", KEY_WOW64_64KEY));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\IcbsView64", KEY_WOW64_64KEY));
    // The 32-bit view does not see it. A key opened without a view gets the
    // program's default view, which depends on this program's own bitness:
    // the 32-bit view for a 32-bit program, the 64-bit one for a 64-bit one.
    EXPECT_FALSE(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView64", true, false, KEY_WOW64_32KEY).IsOpen());
    EXPECT_EQ(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView64").IsOpen(), kSixtyFourBitProgram);
    EXPECT_EQ(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView64", true, false, KEY_WOW64_64KEY)
                  .GetString(L"Where"),
              L"64");
}

TEST(RegistryViews, ThirtyTwoBitWriteLandsInTheRedirectedFolder) {
    ASSERT_TRUE(OnSixtyFourBitWindows());
    RegistryKey key(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView32", false, true, KEY_WOW64_32KEY);
    ASSERT_TRUE(key.IsOpen());
    ASSERT_TRUE(key.SetDword(L"Where", 32));

    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\IcbsView32", KEY_WOW64_64KEY));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsView32", KEY_WOW64_64KEY));
    EXPECT_FALSE(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView32", true, false, KEY_WOW64_64KEY).IsOpen());
    // The default view is the program's own (see above).
    EXPECT_EQ(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software\\IcbsView32").GetDword(L"Where"),
              kSixtyFourBitProgram ? 0u : 32u);

    // The user's Software folder is not redirected: both views share it.
    RegistryKey user(L"HKEY_CURRENT_USER\\Software\\IcbsShared", false, true, KEY_WOW64_32KEY);
    ASSERT_TRUE(user.SetString(L"v", L"both"));
    EXPECT_EQ(RegistryKey(L"HKEY_CURRENT_USER\\Software\\IcbsShared", true, false, KEY_WOW64_64KEY).GetString(L"v"),
              L"both");
}

TEST(RegistryViews, KeysOpenedFromAKeyKeepItsView) {
    ASSERT_TRUE(OnSixtyFourBitWindows());
    // The root key itself opened in the 64-bit view: every key opened from it
    // goes through Software in that view, with no view bits of its own.
    RegistryKey machine64(L"HKEY_LOCAL_MACHINE", false, false, KEY_WOW64_64KEY);
    ASSERT_TRUE(machine64.IsOpen());
    RegistryKey created(machine64, L"Software\\IcbsInherit\\Child", false, true);
    ASSERT_TRUE(created.IsOpen());
    EXPECT_EQ(created.ExtraAccess(), static_cast<REGSAM>(KEY_WOW64_64KEY));
    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsInherit\\Child", KEY_WOW64_64KEY));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsInherit", KEY_WOW64_32KEY));

    // A view named when opening replaces the inherited one.
    RegistryKey other(machine64, L"Software\\IcbsInherit32", false, true, KEY_WOW64_32KEY);
    EXPECT_EQ(other.ExtraAccess(), static_cast<REGSAM>(KEY_WOW64_32KEY));
    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsInherit32", KEY_WOW64_32KEY));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsInherit32", KEY_WOW64_64KEY));

    // Iteration yields keys of the same view.
    RegistryKey software64(machine64, L"Software");
    bool found = false;
    for (auto& subkey : software64.SubKeys()) {
        EXPECT_EQ(subkey->ExtraAccess(), static_cast<REGSAM>(KEY_WOW64_64KEY));
        if (subkey->Name() == L"IcbsInherit") found = RegistryKey(*subkey, L"Child").IsOpen();
    }
    EXPECT_TRUE(found);
}

TEST(RegistryViews, CopyAndDeleteStayInTheKeysView) {
    ASSERT_TRUE(OnSixtyFourBitWindows());
    RegistryKey source(L"HKEY_LOCAL_MACHINE\\Software\\IcbsViewSource", false, true, KEY_WOW64_64KEY);
    RegistryKey(source, L"Sub\\Deeper", false, true).SetDword(L"v", 64);
    RegistryKey target(L"HKEY_LOCAL_MACHINE\\Software\\IcbsViewTarget", false, true, KEY_WOW64_64KEY);
    ASSERT_TRUE(source.CopyTo(target));
    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsViewTarget\\Sub\\Deeper", KEY_WOW64_64KEY));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsViewTarget", KEY_WOW64_32KEY));

    // A key of the same name in the 32-bit view survives the 64-bit delete.
    RegistryKey twin(L"HKEY_LOCAL_MACHINE\\Software\\IcbsViewTarget\\Sub", false, true, KEY_WOW64_32KEY);
    ASSERT_TRUE(twin.IsOpen());
    RegistryKey software64(L"HKEY_LOCAL_MACHINE\\Software", false, false, KEY_WOW64_64KEY);
    EXPECT_TRUE(software64.DeleteSubKeyTree(L"IcbsViewTarget"));
    EXPECT_FALSE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsViewTarget", KEY_WOW64_64KEY));
    EXPECT_TRUE(ExistsInView(HKEY_LOCAL_MACHINE, L"Software\\IcbsViewTarget\\Sub", KEY_WOW64_32KEY));
}
