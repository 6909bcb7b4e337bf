// The common controls (progress bars, list views, tabs, tool tips) of version 6, as the
// manifest asks, without an import of comctl32.dll.
#pragma once

namespace fw {

// Loads comctl32.dll through the application's activation context (never
// from the application's folder) and registers the control classes. True
// when the classes are available.
bool InitCommonControls();

}  // namespace fw
