// Which owners and access lists the launcher sets, and on what. Wine does
// not keep lists set on files here (it derives them from Unix permissions),
// so every change is recorded where the launcher makes it: the one call
// through which all of them go (icbs::SecuritySetter), on an open handle.
// On Windows the same lists are read back from the folders themselves
// (PackageFolders_test, ServicePageQuiet_test).
#include <gtest/gtest.h>

#include "catalogue/PackageFolders.h"
#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/OpenEntry.h"
#include "icbs/SecurityDescriptor.h"
#include "server/ServiceMachineState.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace statetest;
using testsupport::TempDir;

namespace {

struct Change {
    std::wstring path;  // as the system names the open handle
    std::wstring sddl;  // owner and list as set
};

std::vector<Change>& Changes() {
    static std::vector<Change> changes;
    return changes;
}

DWORD Record(HANDLE entry, SECURITY_INFORMATION parts, PSID owner, PACL dacl) {
    SECURITY_DESCRIPTOR descriptor;
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    if (parts & OWNER_SECURITY_INFORMATION) ::SetSecurityDescriptorOwner(&descriptor, owner, FALSE);
    if (parts & DACL_SECURITY_INFORMATION) ::SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
    if (parts & PROTECTED_DACL_SECURITY_INFORMATION)
        ::SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    Changes().push_back({icbs::FinalPathOf(entry),
                         icbs::SddlOf(&descriptor, parts & (OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION))});
    return ERROR_SUCCESS;
}

// Records instead of setting while it lives.
class Recorder {
public:
    Recorder() : saved_(icbs::SecuritySetter()) {
        Changes().clear();
        icbs::SecuritySetter() = Record;
    }
    ~Recorder() { icbs::SecuritySetter() = saved_; }
    std::vector<std::wstring> On(const std::wstring& path) const {
        std::vector<std::wstring> found;
        for (const Change& change : Changes())
            if (fw::EqualsNoCase(change.path, path)) found.push_back(change.sddl);
        return found;
    }

private:
    icbs::SetSecurityFn saved_;
};

std::wstring Normal(const wchar_t* sddl) {
    fw::LocalMemory descriptor = icbs::SecurityDescriptorFromSddl(sddl);
    return icbs::SddlOf(descriptor.get(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
}

}  // namespace

// The server pages read the configuration below the base folder: the base
// folder keeps its own list, and nothing grants more on it (an inherited
// grant to Everyone there would let anyone move a package folder away and
// plant what the uninstall entry runs elevated).
TEST(AccessChanges, TheServerPagesSetNothingButTheBaseFoldersOwnList) {
    ASSERT_FALSE(Exists(ExpectedBaseFolder()));
    Recorder recorder;
    service_config::ConfigFolders folders = service_config::SystemConfigFolders();
    EXPECT_TRUE(IsFolder(ExpectedBaseFolder()));
    EXPECT_EQ(folders.commonAppData + L"\\Morvex", ExpectedBaseFolder());
    for (const std::wstring& sddl : recorder.On(ExpectedBaseFolder()))
        EXPECT_EQ(sddl, Normal(ICBSFileUtilities::kOpenBaseFolderSddl));
    // A second page, a second call: still nothing else.
    service_config::SystemConfigFolders();
    for (const std::wstring& sddl : recorder.On(ExpectedBaseFolder()))
        EXPECT_EQ(sddl, Normal(ICBSFileUtilities::kOpenBaseFolderSddl));
    EXPECT_EQ(Changes().size(), recorder.On(ExpectedBaseFolder()).size()) << "a change elsewhere";
}

// A package folder is given its list through its own handle, and entries
// inside through theirs; links inside are removed, never given a list.
TEST(AccessChanges, APackageFolderAndItsEntriesGetTheirListsByHandle) {
    TempDir dir;
    std::wstring folder = dir.Path() + L"\\package";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    PutFile(folder + L"\\sub\\file.txt", "own");
    std::wstring outside = dir.Path() + L"\\outside";
    ASSERT_TRUE(::CreateDirectoryW(outside.c_str(), nullptr));
    PutFile(outside + L"\\precious.txt", "keep me");
    bool linked = filetest::MakeFolderLink(folder + L"\\link", outside);

    Recorder recorder;
    bool secured = SecurePackageFolder(folder, false);
    // Windows removes the link; a system that cannot remove a link keeps it
    // and reports the folder as not secured.
    EXPECT_EQ(secured, !(linked && Exists(folder + L"\\link")));
    EXPECT_EQ(recorder.On(folder), std::vector<std::wstring>{Normal(ICBSFileUtilities::kProtectedFolderSddl)});
    EXPECT_EQ(recorder.On(folder + L"\\sub").size(), 1u);
    EXPECT_EQ(recorder.On(folder + L"\\sub\\file.txt").size(), 1u);
    // Nothing was set where the link pointed, and the link is gone.
    EXPECT_TRUE(recorder.On(outside).empty());
    EXPECT_TRUE(recorder.On(outside + L"\\precious.txt").empty());
    EXPECT_EQ(testsupport::ReadBytes(outside + L"\\precious.txt"), "keep me");
    // A link in the folder's own place is never given a list.
    std::wstring other = dir.Path() + L"\\other";
    if (!filetest::MakeFolderLink(other, outside)) return;
    Changes().clear();
    EXPECT_FALSE(ICBSFileUtilities::SetFolderSecurity(other, ICBSFileUtilities::kProtectedFolderSddl));
    EXPECT_FALSE(ICBSFileUtilities::GrantEveryoneFullAccess(other));
    EXPECT_TRUE(Changes().empty());
}
