// The help model behind /h and /?: commands, their options, and the property
// groups of the maker's server products. Texts are string-table ids,
// resolved in the current language when the usage is printed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using StringLoader = std::function<std::wstring(UINT)>;

struct OptionHelp {
    std::wstring syntax;
    UINT nameId;
    UINT descriptionId;
};

struct CommandHelp {
    std::wstring syntax;
    UINT descriptionId;
    std::vector<const OptionHelp*> options;  // shared between commands
};

struct PropertyHelp {
    std::wstring name;
    UINT placeholderId;
    UINT descriptionId;
};

struct PropertyHelpGroup {
    UINT titleId;
    std::vector<std::unique_ptr<PropertyHelp>> properties;
};

struct HelpModel {
    std::vector<std::unique_ptr<OptionHelp>> options;
    std::vector<CommandHelp> commands;
    std::vector<PropertyHelpGroup> groups;

    // The group property of that name (letter case ignored), or null.
    const PropertyHelp* FindProperty(const std::wstring& name) const;
};

HelpModel BuildHelpModel(const std::wstring& productName, int packageCount, bool multiLanguage,
                         const StringLoader& load);
