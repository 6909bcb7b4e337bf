// The builder's command line (long options, "--name value" or
// "--name=value") and its project file (INI form, read with the project's
// INI reader), both filling one BuildDescription.
#pragma once

#include <string>
#include <vector>

#include "builder/BuildDescription.h"

// False with error set at the first argument that cannot be used.
bool ParseBuilderArguments(const std::vector<std::wstring>& arguments, BuildDescription& description,
                           BuildError& error);

// Adds the project file's settings and packages; relative paths are taken
// from the project file's folder.
bool ReadBuilderProject(const std::wstring& path, BuildDescription& description, BuildError& error);

// The --help text, with an example.
std::wstring BuilderUsage();
