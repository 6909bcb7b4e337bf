// What every exception barrier does (window and dialog procedures, callbacks
// of the cabinet library and of Windows Installer, thread procedures, the
// entry point): nothing may unwind through Windows' own frames, and an
// exception stopped there is an internal error that ends the run.
#pragma once

#include <string>

namespace fw {

// A text for the exception being handled: what() of a standard exception,
// "unknown exception" otherwise. Call it only inside a catch block.
std::wstring CurrentExceptionText() noexcept;

// Called inside a barrier's catch block: hands place (where the barrier
// stands) and the exception's text to the application object, which logs
// them and ends the run with a failure outcome. Never throws.
void ReportInternalError(const wchar_t* place) noexcept;

}  // namespace fw
