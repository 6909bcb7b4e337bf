// A new UUID in the system's string form.
#pragma once

#include <string>

namespace icbs {

// Puts a new UUID from the system (a UUID that is only unique on this
// computer is accepted) into target as 36 characters with hyphens and returns
// true; when the system cannot make one, target is left unchanged and the
// result is false.
bool NewUuidString(std::wstring& target);

}  // namespace icbs
