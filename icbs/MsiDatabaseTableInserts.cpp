// One insert operation per standard table, each passing its values in the
// table's standard column order to InsertRow.
#include "icbs/MsiDatabase.h"

#include "icbs/MsiDatabaseSQLStatement.h"

using V = ICBSMSIDatabase::V;

bool ICBSMSIDatabase::InsertMsiAssembly(V component, V feature, V fileManifest, V fileApplication, V attributes) {
    return InsertRow(L"MsiAssembly", {component, feature, fileManifest, fileApplication, attributes});
}

bool ICBSMSIDatabase::InsertMsiAssemblyName(V component, V name, V value) {
    return InsertRow(L"MsiAssemblyName", {component, name, value});
}

bool ICBSMSIDatabase::InsertComponent(V component, V componentId, V directory, V attributes, V condition,
                                      V keyPath) {
    return InsertRow(L"Component", {component, componentId, directory, attributes, condition, keyPath});
}

bool ICBSMSIDatabase::InsertCustomAction(V action, V type, V source, V target) {
    return InsertRow(L"CustomAction", {action, type, source, target});
}

bool ICBSMSIDatabase::InsertDirectory(V directory, V parent, V defaultDir) {
    return InsertRow(L"Directory", {directory, parent, defaultDir});
}

bool ICBSMSIDatabase::InsertDuplicateFile(V fileKey, V component, V file, V destName, V destFolder) {
    return InsertRow(L"DuplicateFile", {fileKey, component, file, destName, destFolder});
}

bool ICBSMSIDatabase::InsertFeature(V feature, V parent, V title, V description, V display, V level, V directory,
                                    V attributes) {
    return InsertRow(L"Feature", {feature, parent, title, description, display, level, directory, attributes});
}

bool ICBSMSIDatabase::InsertFeatureComponents(V feature, V component) {
    return InsertRow(L"FeatureComponents", {feature, component});
}

bool ICBSMSIDatabase::InsertFile(V file, V component, V fileName, V fileSize, V version, V language, V attributes,
                                 V sequence) {
    return InsertRow(L"File", {file, component, fileName, fileSize, version, language, attributes, sequence});
}

bool ICBSMSIDatabase::InsertServiceControl(V serviceControl, V name, V event, V arguments, V wait, V component) {
    return InsertRow(L"ServiceControl", {serviceControl, name, event, arguments, wait, component});
}

bool ICBSMSIDatabase::InsertServiceInstall(V serviceInstall, V name, V displayName, V serviceType, V startType,
                                           V errorControl, V loadOrderGroup, V dependencies, V startName,
                                           V password, V arguments, V component, V description) {
    bool noKey = serviceInstall.IsNull() || (!serviceInstall.IsInteger() && serviceInstall.Text().empty());
    return InsertRow(L"ServiceInstall",
                     {noKey ? name : serviceInstall, name, displayName, serviceType, startType, errorControl,
                      loadOrderGroup, dependencies, startName, password, arguments, component, description});
}

bool ICBSMSIDatabase::InsertActionText(V action, V description, V templateText) {
    return InsertRow(L"ActionText", {action, description, templateText});
}

bool ICBSMSIDatabase::InsertMorvexOption(V option, V value) { return InsertRow(L"MorvexOption", {option, value}); }

bool ICBSMSIDatabase::InsertAppSearch(V property, V signature) {
    return InsertRow(L"AppSearch", {property, signature});
}

bool ICBSMSIDatabase::InsertCheckBox(V property, V value) { return InsertRow(L"CheckBox", {property, value}); }

bool ICBSMSIDatabase::InsertClass(V clsid, V context, V component, V progIdDefault, V description, V appId,
                                  V fileTypeMask, V icon, V iconIndex, V defInprocHandler, V argument, V feature,
                                  V attributes) {
    return InsertRow(L"Class", {clsid, context, component, progIdDefault, description, appId, fileTypeMask, icon,
                                iconIndex, defInprocHandler, argument, feature, attributes});
}

bool ICBSMSIDatabase::InsertComboBox(V property, V order, V value, V text) {
    return InsertRow(L"ComboBox", {property, order, value, text});
}

bool ICBSMSIDatabase::InsertCompLocator(V signature, V componentId, V type) {
    return InsertRow(L"CompLocator", {signature, componentId, type});
}

bool ICBSMSIDatabase::InsertCondition(V feature, V level, V condition) {
    return InsertRow(L"Condition", {feature, level, condition});
}

bool ICBSMSIDatabase::InsertControlCondition(V dialog, V control, V action, V condition) {
    return InsertRow(L"ControlCondition", {dialog, control, action, condition});
}

bool ICBSMSIDatabase::InsertControlEvent(V dialog, V control, V event, V argument, V condition, V ordering) {
    return InsertRow(L"ControlEvent", {dialog, control, event, argument, condition, ordering});
}

bool ICBSMSIDatabase::InsertControl(V dialog, V control, V type, V x, V y, V width, V height, V attributes,
                                    V property, V text, V controlNext, V help) {
    return InsertRow(L"Control",
                     {dialog, control, type, x, y, width, height, attributes, property, text, controlNext, help});
}

bool ICBSMSIDatabase::InsertCreateFolder(V directory, V component) {
    return InsertRow(L"CreateFolder", {directory, component});
}

bool ICBSMSIDatabase::InsertDialog(V dialog, V hCentering, V vCentering, V width, V height, V attributes, V title,
                                   V controlFirst, V controlDefault, V controlCancel) {
    return InsertRow(L"Dialog", {dialog, hCentering, vCentering, width, height, attributes, title, controlFirst,
                                 controlDefault, controlCancel});
}

bool ICBSMSIDatabase::InsertDrLocator(V signature, V parent, V path, V depth) {
    return InsertRow(L"DrLocator", {signature, parent, path, depth});
}

bool ICBSMSIDatabase::InsertError(V error, V message) { return InsertRow(L"Error", {error, message}); }

bool ICBSMSIDatabase::InsertEventMapping(V dialog, V control, V event, V attribute) {
    return InsertRow(L"EventMapping", {dialog, control, event, attribute});
}

bool ICBSMSIDatabase::InsertLaunchCondition(V condition, V description) {
    return InsertRow(L"LaunchCondition", {condition, description});
}

bool ICBSMSIDatabase::InsertMedia(V diskId, V lastSequence, V diskPrompt, V cabinet, V volumeLabel, V source) {
    return InsertRow(L"Media", {diskId, lastSequence, diskPrompt, cabinet, volumeLabel, source});
}

bool ICBSMSIDatabase::InsertMoveFile(V fileKey, V component, V sourceName, V destName, V sourceFolder,
                                     V destFolder, V options) {
    return InsertRow(L"MoveFile", {fileKey, component, sourceName, destName, sourceFolder, destFolder, options});
}

bool ICBSMSIDatabase::InsertRadioButton(V property, V order, V value, V x, V y, V width, V height, V text,
                                        V help) {
    return InsertRow(L"RadioButton", {property, order, value, x, y, width, height, text, help});
}

bool ICBSMSIDatabase::InsertRegLocator(V signature, V root, V key, V name, V type) {
    return InsertRow(L"RegLocator", {signature, root, key, name, type});
}

bool ICBSMSIDatabase::InsertRegistry(V registry, V root, V key, V name, V value, V component) {
    return InsertRow(L"Registry", {registry, root, key, name, value, component});
}

bool ICBSMSIDatabase::InsertRemoveRegistry(V removeRegistry, V root, V key, V name, V component) {
    return InsertRow(L"RemoveRegistry", {removeRegistry, root, key, name, component});
}

bool ICBSMSIDatabase::InsertShortcut(V shortcut, V directory, V name, V component, V target, V arguments,
                                     V description, V hotkey, V icon, V iconIndex, V showCmd, V workingDirectory) {
    return InsertRow(L"Shortcut", {shortcut, directory, name, component, target, arguments, description, hotkey,
                                   icon, iconIndex, showCmd, workingDirectory});
}

bool ICBSMSIDatabase::InsertUpgrade(V upgradeCode, V versionMin, V versionMax, V language, V attributes, V remove,
                                    V actionProperty) {
    return InsertRow(L"Upgrade", {upgradeCode, versionMin, versionMax, language, attributes, remove, actionProperty});
}

bool ICBSMSIDatabase::InsertSignature(const std::wstring& signature, const std::wstring& fileName) {
    ICBSMSIDatabaseSQLStatement insert(
        database_.get(), L"INSERT INTO `Signature` (`Signature`.`Signature`,`Signature`.`FileName`) VALUES (?,?)",
        L"%s%s", signature, fileName);
    if (!insert.Succeeded()) return false;
    commitOnClose_ = true;
    return true;
}

bool ICBSMSIDatabase::InsertBinary(const std::wstring& name, const std::wstring& file) {
    return SetStream(L"Binary", name, file);
}

bool ICBSMSIDatabase::InsertIcon(const std::wstring& name, const std::wstring& file) {
    return SetStream(L"Icon", name, file);
}
