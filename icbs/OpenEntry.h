// Files and folders taken by handle, never by a path used twice: each entry
// of a folder is opened relative to the folder's own handle without following
// a link, what it is is read from that handle, and it is changed or deleted
// through the same handle. Someone who swaps a folder for a junction between
// a listing and the next step then meets the handle the walk already holds,
// not the place the junction points to.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Handles.h"

namespace icbs {

// What an open handle refers to.
struct EntryFacts {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD links = 0;      // names the file has
    bool elsewhere = false;  // the system opened another place than the name (a link it followed)

    bool IsFolder() const { return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY); }
    // A junction, symbolic link or other reparse point, or a name that led
    // somewhere else: never entered, changed or deleted through.
    bool IsLink() const {
        return elsewhere || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT));
    }
};

// The access a walk asks for: read the entry, list a folder, change its
// attributes and delete it.
constexpr DWORD kWalkAccess = DELETE | FILE_READ_DATA | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE;
// What giving an entry its owner and list takes: read it (list a folder) and
// change owner and list; no deleting, so that a file in use (the running
// launcher's own) can be opened too.
constexpr DWORD kSecureAccess = FILE_READ_DATA | FILE_READ_ATTRIBUTES | READ_CONTROL | WRITE_DAC | WRITE_OWNER | SYNCHRONIZE;

// Opens path itself (a link as a link, where the system allows), shared for
// reading, writing and deleting. Empty on failure (GetLastError says why).
fw::FileHandle OpenNoFollow(const std::wstring& path, DWORD access);
// Opens name inside the folder open as parent, relative to that handle.
fw::FileHandle OpenChild(HANDLE parent, const std::wstring& name, DWORD access);
// The facts of an entry opened as name inside parent (parent may be null
// for an entry opened by its full path: the path then is name).
bool ReadFacts(HANDLE entry, HANDLE parent, const std::wstring& name, EntryFacts& facts);

// An existing file that is neither a folder nor a link (checked on the file
// opened without following one).
bool IsPlainFile(const std::wstring& path);

// Calls visit with the name and attributes of each entry of the open folder
// (without "." and "..") until visit returns false. False when the folder
// cannot be listed.
bool ForEachChild(HANDLE folder, const std::function<bool(const std::wstring& name, DWORD attributes)>& visit);

// Deletes the entry open as handle (a file, an empty folder or a link
// itself); a read-only one loses that attribute first.
bool DeleteOpen(HANDLE entry);
// Removes the entry name inside parent: a link as a link (never followed),
// a folder with everything in it (walked by handle), a file. True when
// nothing is left of it. A link the system follows although asked not to
// (Wine) cannot be removed without harm to what it points to: it stays, and
// the removal fails.
bool RemoveChild(HANDLE parent, const std::wstring& name);
// Removes everything inside the open folder except the entries keep names
// (keep may be empty); true when nothing else is left.
bool EmptyOpenFolder(HANDLE folder, const std::function<bool(const std::wstring& name)>& keep = {});
// Removes whatever is at path (a link as a link, a folder with its contents,
// a file); true when nothing is there afterwards.
bool RemovePathTree(const std::wstring& path);

// Every owner and access list the launcher sets goes through this one call
// (SetSecurityInfo on an open handle, never on a path): a test replaces it to
// record what is set where the system does not keep lists. Answers a
// Windows error code.
using SetSecurityFn = DWORD (*)(HANDLE entry, SECURITY_INFORMATION parts, PSID owner, PACL dacl);
SetSecurityFn& SecuritySetter();

// Gives the open entry the owner and access list of an SDDL text, the list
// protected from inheritance or not as the text says.
bool SetSecurityOfOpen(HANDLE entry, const wchar_t* sddl);
// Gives the open entry owner Administrators and an empty list of its own,
// so that it keeps only what it inherits.
bool ResetOpenToInherited(HANDLE entry);
// Moves the open entry to target (a full path on the same volume, not yet there).
bool MoveOpen(HANDLE entry, const std::wstring& target);

// The full path the system reports for an open handle (no "\\?\" prefix);
// empty when it cannot tell.
std::wstring FinalPathOf(HANDLE handle);

}  // namespace icbs
