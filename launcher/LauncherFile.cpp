#include "launcher/LauncherFile.h"

#include "icbs/LongPath.h"

fw::FileHandle OpenLauncherFile(const std::wstring& path) {
    if (path.empty()) return fw::FileHandle();
    // No FILE_SHARE_WRITE and no FILE_SHARE_DELETE: writing, renaming and
    // deleting the file all need one of them while this handle is open.
    return fw::FileHandle(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}
