#include "options/BuiltInOptions.h"

// The built-in option classes join this list, in their fixed order, as they
// are written; until then a Quick Install passes on no product choices.
OptionList CreateBuiltInOptions() { return OptionList(); }
