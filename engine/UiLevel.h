// The Windows Installer UI level of a run (/qn 2, /qb 3, /qr 5 without the
// end dialog, /qf or none 0x85, "+" and "-" bits beside them) and the one
// home of what each level means for the launcher.
#pragma once

#include <windows.h>

struct UiLevel {
    DWORD value = 0x85;  // full user interface with end dialog

    // The full wizard (/qf or no /q): the only level at which anything may
    // wait for the user, shows message boxes and stops on its pages.
    bool IsFull() const { return (value & 5) == 5; }
    // Every other level passes the pages through by itself.
    bool PassesPagesThrough() const { return !IsFull(); }
    // No installer user interface at all (/qn, also with "+" or "-").
    bool IsSilent() const { return (value & 2) != 0; }
    // Level "none" (/qn) runs unattended: nobody could press Finish.
    bool IsUnattended() const { return (value & 7) == 2; }
};
