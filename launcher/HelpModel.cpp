#include "launcher/HelpModel.h"

#include "framework/Text.h"

const PropertyHelp* HelpModel::FindProperty(const std::wstring& name) const {
    for (const PropertyHelpGroup& group : groups)
        for (const auto& property : group.properties)
            if (fw::EqualsNoCase(property->name, name)) return property.get();
    return nullptr;
}

namespace {

void AddProperty(PropertyHelpGroup& group, const std::wstring& name, UINT placeholder, UINT description) {
    group.properties.push_back(std::make_unique<PropertyHelp>(PropertyHelp{name, placeholder, description}));
}

// Prefix_WebServer_* and Prefix_SSLWebServer_*; the HB, PK and HBX sets reuse
// the plain host and port descriptions for their SSL host and port.
PropertyHelpGroup WebServerGroup(UINT title, const std::wstring& prefix, bool certificate, bool sharedSslTexts) {
    PropertyHelpGroup group{title, {}};
    AddProperty(group, prefix + L"_WebServer_Enabled", 1240, 1241);
    AddProperty(group, prefix + L"_WebServer_Host", 1242, 1243);
    AddProperty(group, prefix + L"_WebServer_Port", 1244, 1245);
    AddProperty(group, prefix + L"_SSLWebServer_Enabled", 1240, 1241);
    AddProperty(group, prefix + L"_SSLWebServer_Host", 1246, sharedSslTexts ? 1243 : 1247);
    AddProperty(group, prefix + L"_SSLWebServer_Port", 1248, sharedSslTexts ? 1245 : 1249);
    if (certificate) {
        AddProperty(group, prefix + L"_SSLWebServer_Certificate", 1250, 1251);
        AddProperty(group, prefix + L"_SSLWebServer_PrivateKey", 1252, 1253);
    }
    return group;
}

PropertyHelpGroup ServiceGroup(UINT title, const std::wstring& prefix) {
    PropertyHelpGroup group{title, {}};
    AddProperty(group, prefix + L"_Service_DisplayName", 1254, 1255);
    AddProperty(group, prefix + L"_Service_StartType", 1256, 1257);
    AddProperty(group, prefix + L"_Service_Username", 1258, 1259);
    AddProperty(group, prefix + L"_Service_Password", 1260, 1261);
    return group;
}

PropertyHelpGroup CertificateGroup(UINT title, const std::wstring& prefix) {
    PropertyHelpGroup group{title, {}};
    AddProperty(group, prefix + L"_SSLWebServer_Certificate", 1250, 1251);
    AddProperty(group, prefix + L"_SSLWebServer_PrivateKey", 1252, 1253);
    return group;
}

void AddPropertyGroups(HelpModel& model, const std::wstring& productName) {
    auto named = [&](const wchar_t* text) { return productName.find(text) != std::wstring::npos; };
    auto& groups = model.groups;
    const bool brimcart = named(L"Morvex Brimcart Server ");
    if (brimcart) {
        groups.push_back(WebServerGroup(1263, L"BCWeb", false, false));
        groups.push_back(ServiceGroup(1264, L"BCWeb"));
        groups.push_back(WebServerGroup(1265, L"BC", false, false));
        groups.push_back(ServiceGroup(1266, L"BC"));
        groups.push_back(CertificateGroup(1276, L"BC"));
    }
    if (named(L"Morvex Harrowby Server ") || brimcart) {
        groups.push_back(WebServerGroup(1269, L"HB", true, true));
        groups.push_back(ServiceGroup(1270, L"HB"));
    }
    if (named(L"Morvex Pemmick Server ")) {
        groups.push_back(WebServerGroup(1325, L"PK", true, true));
        groups.push_back(ServiceGroup(1326, L"PK"));
    }
    if (named(L"Morvex Harrowby+XBRL Server ")) {
        groups.push_back(WebServerGroup(1271, L"HBX", true, true));
        groups.push_back(ServiceGroup(1272, L"HBX"));
    }
    if (named(L"Morvex Sollenvey Server ")) {
        groups.push_back(WebServerGroup(1273, L"SYAdmin", false, false));
        groups.push_back(WebServerGroup(1274, L"SYClient", false, false));
        groups.push_back(CertificateGroup(1275, L"SY"));
        groups.push_back(ServiceGroup(1278, L"SY"));
    }
}

}  // namespace

HelpModel BuildHelpModel(const std::wstring& productName, int packageCount, bool multiLanguage,
                         const StringLoader& load) {
    HelpModel model;
    auto option = [&](std::wstring syntax, UINT name, UINT description) {
        model.options.push_back(std::make_unique<OptionHelp>(OptionHelp{std::move(syntax), name, description}));
        return model.options.back().get();
    };
    auto placeholder = [&](UINT id) { return L"<" + load(id) + L">"; };
    const OptionHelp* language = option(L"lang=" + placeholder(1071), 1048, 1049);
    const OptionHelp* uiLevel = option(L"/q[n|r|f|b][+]", 1050, 1051);
    const OptionHelp* logging = option(L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] " + placeholder(1075), 1052, 1053);
    const OptionHelp* mif = option(L"/m " + placeholder(1076), 1054, 1055);
    const OptionHelp* subPackages =
        option(L"SubPackages=all|none|" + placeholder(1070) + L"{," + placeholder(1070) + L"}", 1056, 1057);
    const OptionHelp* transforms = option(L"TRANSFORMS=" + placeholder(1072), 1058, 1059);
    const OptionHelp* properties = option(placeholder(1073) + L"=" + placeholder(1074), 1060, 1061);

    std::vector<const OptionHelp*> startOptions;
    if (multiLanguage) startOptions.push_back(language);
    startOptions.insert(startOptions.end(), {uiLevel, logging, mif});
    if (packageCount > 1) startOptions.push_back(subPackages);
    startOptions.insert(startOptions.end(), {transforms, properties});

    model.commands.push_back({L"/h", 1062, {}});
    model.commands.push_back({L"", 1063, startOptions});
    model.commands.push_back({L"/f[p|o|e|d|c|a|u|m|s|v]", 1065, startOptions});
    model.commands.push_back({L"/x", 1066, startOptions});
    model.commands.push_back({L"/a", 1064, startOptions});
    model.commands.push_back({L"/u", 1067, {}});

    AddPropertyGroups(model, productName);
    return model;
}
