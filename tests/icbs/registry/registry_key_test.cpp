// Shows registry keys opened, read, written, enumerated, copied and deleted in Wine's registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "icbs/RegistryKey.h"

namespace {

const wchar_t* kBase = L"Software\\IcbsRegistryTest";
const std::wstring kBasePath = L"HKEY_CURRENT_USER\\Software\\IcbsRegistryTest";

// Reads a value with the plain registry functions, bypassing RegistryKey.
bool RawValue(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    if (::RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    data.resize(size);
    return ::RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(),
                          &size) == ERROR_SUCCESS;
}

bool RawKeyExists(HKEY root, const std::wstring& subKey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

void RawSetString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& text) {
    ASSERT_EQ(::RegSetKeyValueW(root, subKey.c_str(), name.c_str(), REG_SZ, text.c_str(),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::set<std::wstring> SubKeyNames(const RegistryKey& key) {
    std::set<std::wstring> names;
    for (auto& subkey : key.SubKeys()) names.insert(subkey->Name());
    return names;
}

}  // namespace

TEST(RegistryKeyOpen, FullPathGivesNameAndParentPath) {
    RegistryKey created(kBasePath + L"\\Product\\X", false, true);
    ASSERT_TRUE(created.IsOpen());
    EXPECT_EQ(created.Name(), L"X");
    EXPECT_EQ(created.ParentPath(), kBasePath + L"\\Product");
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Product\\X"));

    RegistryKey software(L"HKEY_LOCAL_MACHINE\\Software\\Microsoft");
    ASSERT_TRUE(software.IsOpen());
    EXPECT_EQ(software.Name(), L"Microsoft");
    EXPECT_EQ(software.ParentPath(), L"HKEY_LOCAL_MACHINE\\Software");

    // Below a parent, the sub-path's leading part joins the parent path.
    RegistryKey base(kBasePath);
    RegistryKey below(base, L"Product\\X");
    ASSERT_TRUE(below.IsOpen());
    EXPECT_EQ(below.Name(), L"X");
    EXPECT_EQ(below.ParentPath(), kBasePath + L"\\Product");
    EXPECT_EQ(below.FullPath(), created.FullPath());
}

TEST(RegistryKeyOpen, UnknownRootsAndMissingKeysStayClosedAndAnswerEmpty) {
    EXPECT_TRUE(RegistryKey(L"HKEY_LOCAL_MACHINE\\Software").IsOpen());
    EXPECT_FALSE(RegistryKey(L"hkey_local_machine\\Software").IsOpen());
    EXPECT_FALSE(RegistryKey(L"HKLM\\Software").IsOpen());
    EXPECT_FALSE(RegistryKey(L"HKEY_USERS\\.DEFAULT").IsOpen());
    EXPECT_TRUE(RegistryKey(L"HKEY_CLASSES_ROOT").IsOpen());
    EXPECT_TRUE(RegistryKey(L"HKEY_CURRENT_USER\\Software").IsOpen());
    // Even with create, an unknown root makes nothing.
    RegistryKey bad(L"hkey_current_user\\Software\\IcbsRegistryTest", false, true);
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kBase));

    RegistryKey missing(kBasePath + L"\\Missing", false, false);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetString(L"a"), L"");
    EXPECT_EQ(missing.GetDword(L"a"), 0u);
    EXPECT_FALSE(missing.GetRaw(L"a"));
    EXPECT_FALSE(missing.SetString(L"a", L"b"));
    EXPECT_FALSE(missing.SetDword(L"a", 1));
    EXPECT_FALSE(missing.DeleteValue(L"a"));
    EXPECT_FALSE(missing.DeleteSubKeyTree(L"a"));
    EXPECT_TRUE(SubKeyNames(missing).empty());
    EXPECT_EQ(missing.ValueNames().begin(), missing.ValueNames().end());
    // Nothing opens below a key that is not open, not even with create.
    RegistryKey child(missing, L"Child", false, true);
    EXPECT_FALSE(child.IsOpen());
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Missing"));
}

TEST(RegistryKeyOpen, ReadOnlyKeyCannotBeWritten) {
    RegistryKey(kBasePath, false, true).SetString(L"kept", L"old");
    RegistryKey readOnly(kBasePath, true);
    ASSERT_TRUE(readOnly.IsOpen());
    EXPECT_FALSE(readOnly.SetString(L"kept", L"new"));
    EXPECT_EQ(readOnly.GetString(L"kept"), L"old");
    RegistryKey writable(kBasePath, false);
    EXPECT_TRUE(writable.SetString(L"kept", L"new"));
    EXPECT_EQ(readOnly.GetString(L"kept"), L"new");
}

TEST(RegistryKeyClose, CloseLeavesKeyClosedAndRootUsable) {
    RegistryKey key(kBasePath, false, true);
    ASSERT_TRUE(key.IsOpen());
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.ParentPath(), L"");
    EXPECT_FALSE(key.SetString(L"a", L"b"));

    RegistryKey localRoot(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER");
    ASSERT_TRUE(localRoot.IsOpen());
    localRoot.Close();
    EXPECT_FALSE(localRoot.IsOpen());
    // The predefined handle itself still works, directly and through the
    // process-wide root object.
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kBase));
    EXPECT_TRUE(RegistryKey::CurrentUser().IsOpen());
    EXPECT_TRUE(RegistryKey(RegistryKey::CurrentUser(), kBase).IsOpen());
    EXPECT_EQ(RegistryKey::FindRoot(L"HKEY_CURRENT_USER"), &RegistryKey::CurrentUser());
    EXPECT_EQ(RegistryKey::FindRoot(L"HKEY_USERS"), nullptr);
}

TEST(RegistryKeyValues, TypedValuesRoundTripAndLandAsWritten) {
    RegistryKey key(kBasePath, false, true);
    ASSERT_TRUE(key.IsOpen());
    ASSERT_TRUE(key.SetString(L"Text", L"Grüße, 世界"));
    ASSERT_TRUE(key.SetDword(L"Number", 0xDEADBEEF));
    ASSERT_TRUE(key.SetString(L"", L"default value"));

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(RawValue(HKEY_CURRENT_USER, kBase, L"Text", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::wstring text = L"Grüße, 世界";
    ASSERT_EQ(data.size(), (text.size() + 1) * sizeof(wchar_t));  // the terminating zero is stored
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(data.data())), text);
    ASSERT_TRUE(RawValue(HKEY_CURRENT_USER, kBase, L"Number", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), 0xDEADBEEFu);

    EXPECT_EQ(key.GetString(L"Text"), text);
    EXPECT_EQ(key.GetString(L""), L"default value");
    EXPECT_EQ(key.GetDword(L"Number"), 0xDEADBEEFu);
    // Wrong types and missing values give empty answers.
    EXPECT_EQ(key.GetDword(L"Text"), 0u);
    EXPECT_EQ(key.GetString(L"Number"), L"");
    EXPECT_EQ(key.GetString(L"Missing"), L"");
    EXPECT_EQ(key.GetDword(L"Missing"), 0u);
    EXPECT_FALSE(key.GetRaw(L"Missing"));
}

TEST(RegistryKeyValues, StringsWithoutTerminatorOrOfOddSizeReadBack) {
    RegistryKey key(kBasePath, false, true);
    std::wstring text = L"no terminator";
    ASSERT_TRUE(key.SetRaw(L"Bare", REG_SZ, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t))));
    EXPECT_EQ(key.GetString(L"Bare"), text);
    // An odd byte count: the last character is cut in half and dropped.
    ASSERT_TRUE(key.SetRaw(L"Odd", REG_SZ, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t) - 1)));
    EXPECT_EQ(key.GetString(L"Odd"), text.substr(0, text.size() - 1));
    // Expandable strings are returned as stored; text stops at the first zero.
    std::wstring expandable = L"%SystemRoot%\\x";
    ASSERT_TRUE(key.SetRaw(L"Expand", REG_EXPAND_SZ, expandable.c_str(),
                           static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(key.GetString(L"Expand"), expandable);
    const wchar_t multi[] = L"one\0two\0";
    ASSERT_TRUE(key.SetRaw(L"Multi", REG_MULTI_SZ, multi, sizeof(multi)));
    EXPECT_EQ(key.GetString(L"Multi"), L"");
    ASSERT_TRUE(key.SetRaw(L"Empty", REG_SZ, nullptr, 0));
    EXPECT_EQ(key.GetString(L"Empty"), L"");
}

TEST(RegistryKeyValues, RawValuesKeepTypeAndBytesAndCanBeDeleted) {
    RegistryKey key(kBasePath, false, true);
    const BYTE bytes[] = {0, 1, 2, 0xFF, 0x80, 7, 0};
    ASSERT_TRUE(key.SetRaw(L"Blob", REG_BINARY, bytes, sizeof(bytes)));
    std::optional<RegistryValue> raw = key.GetRaw(L"Blob");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw->data, std::vector<BYTE>(bytes, bytes + sizeof(bytes)));
    // A big value takes more than one size guess.
    std::vector<BYTE> big(70000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<BYTE>(i * 7);
    ASSERT_TRUE(key.SetRaw(L"Big", REG_BINARY, big.data(), static_cast<DWORD>(big.size())));
    EXPECT_EQ(key.GetRaw(L"Big")->data, big);
    ASSERT_TRUE(key.SetRaw(L"Nothing", REG_NONE, nullptr, 0));
    ASSERT_TRUE(key.GetRaw(L"Nothing"));
    EXPECT_TRUE(key.GetRaw(L"Nothing")->data.empty());
    // A 64-bit number is not a 32-bit one.
    ULONGLONG wide = 5;
    ASSERT_TRUE(key.SetRaw(L"Qword", REG_QWORD, &wide, sizeof(wide)));
    EXPECT_EQ(key.GetDword(L"Qword"), 0u);

    EXPECT_TRUE(key.DeleteValue(L"Blob"));
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(RawValue(HKEY_CURRENT_USER, kBase, L"Blob", type, data));
    EXPECT_FALSE(key.DeleteValue(L"Blob"));
}

TEST(RegistryKeyIteration, SubKeysAndValueNamesAreAllVisited) {
    RegistryKey base(kBasePath, false, true);
    std::set<std::wstring> expected = {L"Alpha", L"Beta", L"Gamma with blank", L"{6B1D0A10-3C55}"};
    for (const std::wstring& name : expected) RegistryKey(base, name + L"\\Inner", false, true);
    std::set<std::wstring> values = {L"", L"One", L"Two"};
    for (const std::wstring& name : values) base.SetDword(name, 1);

    std::set<std::wstring> seen;
    for (auto& subkey : base.SubKeys(true)) {
        ASSERT_TRUE(subkey);
        EXPECT_TRUE(subkey->IsOpen());
        EXPECT_EQ(subkey->ParentPath(), kBasePath);
        EXPECT_EQ(subkey->ExtraAccess(), base.ExtraAccess());
        EXPECT_FALSE(subkey->SetDword(L"x", 1));  // read-only, as asked
        EXPECT_TRUE(RegistryKey(*subkey, L"Inner").IsOpen());
        seen.insert(subkey->Name());
    }
    EXPECT_EQ(seen, expected);

    std::vector<std::unique_ptr<RegistryKey>> kept;
    for (auto& subkey : base.SubKeys(false)) kept.push_back(std::move(subkey));
    ASSERT_EQ(kept.size(), expected.size());
    for (auto& subkey : kept) EXPECT_TRUE(subkey->SetDword(L"x", 1));  // writable, as asked

    std::set<std::wstring> seenValues;
    for (const std::wstring& name : base.ValueNames()) seenValues.insert(name);
    EXPECT_EQ(seenValues, values);
}

TEST(RegistryKeyIteration, TimeFilterSkipsSubKeysWrittenEarlier) {
    RegistryKey base(kBasePath, false, true);
    RegistryKey(base, L"Old", false, true);
    RegistryKey(base, L"Touched", false, true);
    ::Sleep(50);
    FILETIME since;
    ::GetSystemTimeAsFileTime(&since);
    ::Sleep(50);
    RegistryKey(base, L"New", false, true);
    RawSetString(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Touched", L"v", L"x");

    std::set<std::wstring> recent;
    for (auto& subkey : base.SubKeysWrittenSince(since)) recent.insert(subkey->Name());
    EXPECT_EQ(recent, (std::set<std::wstring>{L"New", L"Touched"}));

    ULARGE_INTEGER later;
    later.LowPart = since.dwLowDateTime;
    later.HighPart = since.dwHighDateTime;
    later.QuadPart += 10ull * 60 * 10000000;  // ten minutes on
    FILETIME future = {later.LowPart, later.HighPart};
    EXPECT_EQ(base.SubKeysWrittenSince(future).begin(), base.SubKeysWrittenSince(future).end());
    EXPECT_EQ(SubKeyNames(base).size(), 3u);
}

TEST(RegistryKeyIteration, CountIsTakenWhenTheRangeStarts) {
    RegistryKey base(kBasePath, false, true);
    RegistryKey(base, L"A", false, true);
    RegistryKey(base, L"B", false, true);
    RegistrySubKeyRange range = base.SubKeys();
    // Keys added after the range was made are not visited.
    RegistryKey(base, L"C", false, true);
    RegistryKey(base, L"D", false, true);
    size_t visited = 0;
    while (range.Next()) ++visited;
    EXPECT_EQ(visited, 2u);
    // Keys removed meanwhile end the walk early instead of failing.
    RegistrySubKeyRange shrinking = base.SubKeys();
    ASSERT_TRUE(base.DeleteSubKeyTree(L"C"));
    ASSERT_TRUE(base.DeleteSubKeyTree(L"D"));
    visited = 0;
    while (shrinking.Next()) ++visited;
    EXPECT_EQ(visited, 2u);
}

TEST(RegistryKeyTree, DeleteSubKeyTreeRemovesEverythingBelow) {
    RegistryKey base(kBasePath, false, true);
    for (const wchar_t* path : {L"Doomed\\A\\B\\C", L"Doomed\\A\\D", L"Doomed\\E", L"Kept\\F"}) {
        RegistryKey deep(base, path, false, true);
        ASSERT_TRUE(deep.SetString(L"v", path));
    }
    EXPECT_TRUE(base.DeleteSubKeyTree(L"Doomed"));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Doomed"));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Kept\\F"));
    EXPECT_FALSE(base.DeleteSubKeyTree(L"Doomed"));
    // A sub-path with backslashes deletes only its last component.
    EXPECT_TRUE(base.DeleteSubKeyTree(L"Kept\\F"));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Kept"));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, std::wstring(kBase) + L"\\Kept\\F"));
    // The key itself is never deleted through an empty sub-path.
    EXPECT_FALSE(base.DeleteSubKeyTree(L""));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kBase));
}

TEST(RegistryKeyTree, CopyToCopiesValuesAndSubKeysRecursively) {
    RegistryKey source(kBasePath + L"\\Source", false, true);
    ASSERT_TRUE(source.SetString(L"Name", L"top"));
    ASSERT_TRUE(source.SetDword(L"Count", 3));
    const BYTE blob[] = {9, 8, 7};
    ASSERT_TRUE(source.SetRaw(L"Blob", REG_BINARY, blob, sizeof(blob)));
    RegistryKey(source, L"Child\\Grandchild", false, true).SetString(L"", L"deep");
    RegistryKey(source, L"Empty", false, true);

    RegistryKey target(kBasePath + L"\\Target", false, true);
    ASSERT_TRUE(target.SetString(L"Own", L"stays"));
    EXPECT_TRUE(source.CopyTo(target));

    const std::wstring targetPath = std::wstring(kBase) + L"\\Target";
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(RawValue(HKEY_CURRENT_USER, targetPath, L"Blob", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, std::vector<BYTE>(blob, blob + sizeof(blob)));
    ASSERT_TRUE(RawValue(HKEY_CURRENT_USER, targetPath + L"\\Child\\Grandchild", L"", type, data));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(data.data())), L"deep");
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, targetPath + L"\\Empty"));
    EXPECT_EQ(target.GetString(L"Name"), L"top");
    EXPECT_EQ(target.GetDword(L"Count"), 3u);
    EXPECT_EQ(target.GetString(L"Own"), L"stays");
    // The source is unchanged.
    EXPECT_EQ(SubKeyNames(source), (std::set<std::wstring>{L"Child", L"Empty"}));
}

TEST(RegistryKeyTree, CopyIntoOwnSubKeyCopiesTheTreeOnce) {
    RegistryKey source(kBasePath + L"\\Loop", false, true);
    RegistryKey(source, L"A", false, true).SetDword(L"v", 1);
    RegistryKey target(source, L"A\\Copy", false, true);
    EXPECT_TRUE(source.CopyTo(target));
    const std::wstring copy = std::wstring(kBase) + L"\\Loop\\A\\Copy";
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, copy + L"\\A"));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, copy + L"\\A\\Copy"));  // as it was: empty
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, copy + L"\\A\\Copy\\A"));
}

TEST(RegistryKeyOverride, PredefinedRootIsMappedOntoKeyAndBack) {
    RegistryKey redirect(L"HKEY_LOCAL_MACHINE\\Software\\IcbsRedirectedUser", false, true);
    ASSERT_TRUE(redirect.IsOpen());
    ASSERT_TRUE(redirect.OverridePredefined(HKEY_CURRENT_USER));
    {
        RegistryKey written(L"HKEY_CURRENT_USER\\Software\\Mapped", false, true);
        ASSERT_TRUE(written.IsOpen());
        EXPECT_TRUE(written.SetString(L"v", L"redirected"));
    }
    ASSERT_TRUE(redirect.RestorePredefined(HKEY_CURRENT_USER));

    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_TRUE(RawValue(HKEY_LOCAL_MACHINE, L"Software\\IcbsRedirectedUser\\Software\\Mapped", L"v", type, data));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, L"Software\\Mapped"));
    EXPECT_FALSE(RegistryKey(L"HKEY_CURRENT_USER\\Software\\Mapped").IsOpen());

    RegistryKey closed(kBasePath + L"\\Missing");
    EXPECT_FALSE(closed.OverridePredefined(HKEY_CURRENT_USER));
    EXPECT_FALSE(closed.RestorePredefined(HKEY_CURRENT_USER));
}
