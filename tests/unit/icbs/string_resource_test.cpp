// Shows that string resources of any length are read whole and used as
// format patterns, and that a missing resource gives an empty string.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "icbs/StringResource.h"
#include "tests/support/TestSupport.h"

namespace {

std::wstring Digits(size_t length) {
    std::wstring text;
    for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'0' + i % 10);
    return text;
}

// A copy of this test program with one string-table block added (ids 1600
// to 1615), loaded as a data file.
class StringModule {
public:
    StringModule(const testsupport::TempDir& dir, const std::map<UINT, std::wstring>& strings) {
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring copy = dir.File(L"strings.exe");
        if (!::CopyFileW(self, copy.c_str(), FALSE)) return;
        std::vector<WORD> block;
        for (UINT id = 1600; id < 1616; ++id) {
            auto found = strings.find(id);
            std::wstring text = found == strings.end() ? std::wstring() : found->second;
            block.push_back(static_cast<WORD>(text.size()));
            block.insert(block.end(), text.begin(), text.end());
        }
        HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
        if (update == nullptr) return;
        ::UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(1600 / 16 + 1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                          block.data(), static_cast<DWORD>(block.size() * sizeof(WORD)));
        if (!::EndUpdateResourceW(update, FALSE)) return;
        module_.reset(::LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    }
    HMODULE Get() const { return module_.get(); }

private:
    fw::ModuleHandle module_;
};

}  // namespace

TEST(StringResource, TextsOfEveryLengthAreReadWhole) {
    testsupport::TempDir dir;
    // Lengths around the 256-character buffer and its growth by 256.
    std::map<UINT, std::wstring> strings = {{1601, Digits(253)}, {1602, Digits(254)}, {1603, Digits(255)},
                                            {1604, Digits(256)}, {1605, Digits(511)}, {1606, Digits(1300)},
                                            {1607, L"x"}};
    StringModule module(dir, strings);
    ASSERT_NE(module.Get(), nullptr);
    for (const auto& [id, text] : strings) EXPECT_EQ(icbs::LoadStringFrom(module.Get(), id), text) << "id " << id;
}

TEST(StringResource, TextIsTheFormatPatternOfTheArguments) {
    testsupport::TempDir dir;
    std::wstring longName = Digits(400);
    StringModule module(dir, {{1610, L"Port %d of %s"}, {1611, L"100%% done"}, {1612, longName + L" %s"}});
    ASSERT_NE(module.Get(), nullptr);
    EXPECT_EQ(icbs::LoadStringFrom(module.Get(), 1610, 8080, L"Harrowby"), L"Port 8080 of Harrowby");
    EXPECT_EQ(icbs::LoadStringFrom(module.Get(), 1611), L"100% done");
    EXPECT_EQ(icbs::LoadStringFrom(module.Get(), 1612, L"end"), longName + L" end");
}

TEST(StringResource, MissingResourceGivesEmptyText) {
    testsupport::TempDir dir;
    StringModule module(dir, {{1601, L"present"}});
    ASSERT_NE(module.Get(), nullptr);
    EXPECT_EQ(icbs::LoadStringFrom(module.Get(), 1602), L"");
    EXPECT_EQ(icbs::LoadStringFrom(module.Get(), 4000), L"");
    // This test program has no string table of its own.
    EXPECT_EQ(icbs::LoadString(1601), L"");
}
