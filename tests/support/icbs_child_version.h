// The version resource of icbs_child.exe, shared by its resource script and
// the tests that read it back.
#pragma once

#define ICBS_CHILD_VERSION_MAJOR 3
#define ICBS_CHILD_VERSION_MINOR 14
#define ICBS_CHILD_VERSION_BUILD 15
#define ICBS_CHILD_VERSION_REVISION 9265
#define ICBS_CHILD_LANGUAGE 0x0407
#define ICBS_CHILD_CODEPAGE 1200
