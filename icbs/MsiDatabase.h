// One open installer database (a package or a transform target). Rows,
// properties, streams, summary information, transforms and import/export
// go through it; the database is committed when its owner is destroyed
// (after any change, or always when it was created).
#pragma once

#include "framework/Handles.h"
#include "icbs/MsiValue.h"
#include "icbs/TableDescriptor.h"

#include <concepts>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ICBSMSIDatabase {
public:
    // Direct mode, or create-direct when create is set (a created database
    // is committed on close even without changes).
    ICBSMSIDatabase(const std::wstring& path, bool create);
    // readOnly: MSIDBOPEN_READONLY whatever create says.
    ICBSMSIDatabase(const std::wstring& path, bool create, bool readOnly);
    ICBSMSIDatabase(const ICBSMSIDatabase&) = delete;
    ICBSMSIDatabase& operator=(const ICBSMSIDatabase&) = delete;
    // Closes (see Close).
    virtual ~ICBSMSIDatabase();

    // 0 when the open failed.
    MSIHANDLE Handle() const { return database_.get(); }
    explicit operator bool() const { return static_cast<bool>(database_); }
    const std::wstring& Path() const { return path_; }
    bool CommitOnClose() const { return commitOnClose_; }

    // Persists a changed summary, commits when there are changes, closes the
    // handles. Only the first call does anything.
    void Close();
    // The commit step of Close, without closing; true when nothing needed it.
    bool Commit();

    // ---- transforms (MsiDatabaseTransforms.cpp)
    // Applies each transform in order (a leading "@" or "|" is dropped, a
    // path beginning with ":" is refused) and copies the files they add from
    // sourceFolder to targetFolder. True when every transform applied and
    // every added file was copied; applied transforms stay applied. Pending
    // changes are committed, and the database handle changes on the way.
    // failed, when given, names the transform that did not apply as it was
    // given (empty when the transforms applied and a file was missing).
    bool ApplyTransforms(const std::vector<std::wstring>& transforms, const std::wstring& sourceFolder,
                         const std::wstring& targetFolder, std::wstring* failed = nullptr);
    // Writes a transform that turns this database into the one at otherPath.
    bool GenerateTransform(const std::wstring& otherPath, const std::wstring& transformFile);

    // ---- rows (MsiDatabaseRows.cpp)
    // Inserts one row, values in column order; missing trailing values are
    // null. Tables with a stream column are refused (use SetStream).
    bool InsertRow(const std::wstring& table, const std::vector<MsiValue>& values);
    template <class... Values>
        requires(std::constructible_from<MsiValue, Values> && ...)
    bool InsertRow(const std::wstring& table, Values&&... values) {
        return InsertRow(table, std::vector<MsiValue>{MsiValue(values)...});
    }
    // "DELETE FROM `table` WHERE condition" with the bound values.
    bool DeleteRows(const std::wstring& table, const std::wstring& condition, const wchar_t* types,
                    const std::vector<MsiValue>& values);
    template <class... Values>
        requires(std::constructible_from<MsiValue, Values> && ...)
    bool DeleteRows(const std::wstring& table, const std::wstring& condition, const wchar_t* types,
                    Values&&... values) {
        return DeleteRows(table, condition, types, std::vector<MsiValue>{MsiValue(values)...});
    }
    // Column 4 (Attributes) of the component's row; 0 when there is none.
    int GetComponentAttributes(const std::wstring& component);

    // ---- per-table inserts, standard column order (MsiDatabaseTableInserts.cpp)
    using V = const MsiValue&;
    bool InsertMsiAssembly(V component, V feature, V fileManifest, V fileApplication, V attributes);
    bool InsertMsiAssemblyName(V component, V name, V value);
    bool InsertComponent(V component, V componentId, V directory, V attributes, V condition, V keyPath);
    bool InsertCustomAction(V action, V type, V source, V target);
    bool InsertDirectory(V directory, V parent, V defaultDir);
    bool InsertDuplicateFile(V fileKey, V component, V file, V destName, V destFolder);
    bool InsertFeature(V feature, V parent, V title, V description, V display, V level, V directory, V attributes);
    bool InsertFeatureComponents(V feature, V component);
    bool InsertFile(V file, V component, V fileName, V fileSize, V version, V language, V attributes, V sequence);
    bool InsertServiceControl(V serviceControl, V name, V event, V arguments, V wait, V component);
    // An empty or null key takes the service name.
    bool InsertServiceInstall(V serviceInstall, V name, V displayName, V serviceType, V startType, V errorControl,
                              V loadOrderGroup, V dependencies, V startName, V password, V arguments, V component,
                              V description);
    bool InsertActionText(V action, V description, V templateText);
    // The maker's option table: option name and its value.
    bool InsertMorvexOption(V option, V value);
    bool InsertAppSearch(V property, V signature);
    bool InsertCheckBox(V property, V value);
    bool InsertClass(V clsid, V context, V component, V progIdDefault, V description, V appId, V fileTypeMask,
                     V icon, V iconIndex, V defInprocHandler, V argument, V feature, V attributes);
    bool InsertComboBox(V property, V order, V value, V text);
    bool InsertCompLocator(V signature, V componentId, V type);
    bool InsertCondition(V feature, V level, V condition);
    bool InsertControlCondition(V dialog, V control, V action, V condition);
    bool InsertControlEvent(V dialog, V control, V event, V argument, V condition, V ordering);
    bool InsertControl(V dialog, V control, V type, V x, V y, V width, V height, V attributes, V property, V text,
                       V controlNext, V help);
    bool InsertCreateFolder(V directory, V component);
    bool InsertDialog(V dialog, V hCentering, V vCentering, V width, V height, V attributes, V title,
                      V controlFirst, V controlDefault, V controlCancel);
    bool InsertDrLocator(V signature, V parent, V path, V depth);
    bool InsertError(V error, V message);
    bool InsertEventMapping(V dialog, V control, V event, V attribute);
    bool InsertLaunchCondition(V condition, V description);
    bool InsertMedia(V diskId, V lastSequence, V diskPrompt, V cabinet, V volumeLabel, V source);
    bool InsertMoveFile(V fileKey, V component, V sourceName, V destName, V sourceFolder, V destFolder, V options);
    bool InsertRadioButton(V property, V order, V value, V x, V y, V width, V height, V text, V help);
    bool InsertRegLocator(V signature, V root, V key, V name, V type);
    bool InsertRegistry(V registry, V root, V key, V name, V value, V component);
    bool InsertRemoveRegistry(V removeRegistry, V root, V key, V name, V component);
    bool InsertShortcut(V shortcut, V directory, V name, V component, V target, V arguments, V description,
                        V hotkey, V icon, V iconIndex, V showCmd, V workingDirectory);
    bool InsertUpgrade(V upgradeCode, V versionMin, V versionMax, V language, V attributes, V remove,
                       V actionProperty);
    // Signature and FileName only.
    bool InsertSignature(const std::wstring& signature, const std::wstring& fileName);
    // The Binary and Icon rows carry the contents of a file.
    bool InsertBinary(const std::wstring& name, const std::wstring& file);
    bool InsertIcon(const std::wstring& name, const std::wstring& file);

    // ---- deletes (MsiDatabaseDeletes.cpp), each by one text key
    bool DeleteActionText(const std::wstring& action);
    bool DeleteControlConditions(const std::wstring& dialog);
    bool DeleteControlEvents(const std::wstring& dialog);
    bool DeleteControls(const std::wstring& dialog);
    bool DeleteDialog(const std::wstring& dialog);
    bool DeleteError(const std::wstring& error);
    // From all six sequence tables; true only when all six deletes succeeded.
    bool RemoveActionFromSequences(const std::wstring& action);

    // ---- Property table (MsiDatabaseProperties.cpp)
    // The value, or empty when there is no such row.
    std::wstring GetProperty(const std::wstring& name);
    // A value (even empty) inserts or updates the row; no value deletes it.
    bool SetProperty(const std::wstring& name, const std::optional<std::wstring>& value);

    // ---- streams (MsiDatabaseStreams.cpp); tables with Name and Data columns
    // Stores the contents of file under name, replacing an existing row.
    bool SetStream(const std::wstring& table, const std::wstring& name, const std::wstring& file);
    bool ReadStream(const std::wstring& table, const std::wstring& name, std::string& bytes);
    // Writes every row's stream to folder\Name; true when all were written.
    bool ExportStreams(const std::wstring& table, const std::wstring& folder);
    // Extracts one file of the package from the cabinet stored in the
    // package into targetFolder, under its long file name. The cabinet is
    // read in memory, never written to disk.
    bool ExtractFromEmbeddedCabinet(const std::wstring& fileName, const std::wstring& targetFolder,
                                    const std::wstring& component = std::wstring());

    // ---- import and export of tables in the text archive format
    bool ExportTable(const std::wstring& table, const std::wstring& folder, const std::wstring& fileName);
    bool ImportTable(const std::wstring& folder, const std::wstring& fileName);

    // ---- summary information (MsiDatabaseSummary.cpp)
    bool SetSummaryTemplate(const std::wstring& text);
    // The word-count bits: 1 short file names, 2 compressed, 4 administrative
    // image, 8 elevated privileges not required. on sets the bit.
    bool SetShortFileNames(bool on);
    bool SetCompressed(bool on);
    bool SetAdministrativeImage(bool on);
    bool SetNoElevationNeeded(bool on);
    // A string, integer or time property as text; empty when it cannot be read.
    std::wstring GetSummaryString(UINT property);
    // An integer property; nothing when it is missing or not an integer.
    std::optional<int> GetSummaryInteger(UINT property);

private:
    TableDescriptor* Descriptor(const std::wstring& table);
    bool OpenSummary();
    bool CommitStoredStreams();
    bool SetWordCountBit(int bit, bool on);
    bool ViewTransform(const std::wstring& transform, std::vector<std::wstring>& addedFiles);
    bool CopyAddedFiles(const std::vector<std::wstring>& addedFiles, const std::wstring& source,
                        const std::wstring& target);

    fw::MsiHandle summary_;
    bool summaryDirty_ = false;
    std::map<std::wstring, std::unique_ptr<TableDescriptor>> tables_;
    std::wstring path_;
    fw::MsiHandle database_;
    LPCWSTR reopenMode_;  // the mode to open the database in again
    bool commitOnClose_;
    bool streamsPending_ = false;  // streams stored since the last commit
    bool open_ = true;
};
