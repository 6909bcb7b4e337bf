// Access-list entries read straight from the system, for tests that check
// security descriptors and the access lists of files and folders without the
// code under test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// One entry of an access list, with its SID as text ("S-1-1-0"). Mask and
// SID are filled for allowed and denied entries.
struct AceEntry {
    BYTE type = 0;
    BYTE flags = 0;
    DWORD mask = 0;
    std::wstring sid;
    bool operator==(const AceEntry&) const = default;
};

std::vector<AceEntry> EntriesOf(PACL acl);
// The entries of a descriptor's DACL; empty when it has none.
std::vector<AceEntry> DaclEntriesOf(PSECURITY_DESCRIPTOR descriptor);
// The DACL of a file or folder as GetNamedSecurityInfoW reports it.
std::vector<AceEntry> ReadDaclEntries(const std::wstring& path);
// Owner, protection and access list of a file or folder.
struct ObjectSecurity {
    bool read = false;  // GetNamedSecurityInfoW answered
    std::wstring owner;
    bool protectedList = false;  // SE_DACL_PROTECTED
    std::vector<AceEntry> entries;
};
ObjectSecurity ReadObjectSecurity(const std::wstring& path);
std::wstring SidText(WELL_KNOWN_SID_TYPE type);
std::wstring SidText(PSID sid);
// The allowed entries for a SID; empty when there is none.
std::vector<AceEntry> AllowedFor(const std::vector<AceEntry>& entries, const std::wstring& sid);

// Sets a DACL with one distinctive entry on a new folder below parent and
// tells whether the system keeps it as given (Windows does; a file system
// that derives access lists from Unix permissions does not).
bool KeepsAccessListsAsGiven(const std::wstring& parent);

}  // namespace testsupport
