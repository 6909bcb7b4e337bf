// Adds or replaces resources of a program file in one update: files as
// resources (with a length prefix, bitmaps without their file header, icon
// files as their images and a group) and data from memory. Nothing reaches
// the file before End(true); any failure on the way discards the whole
// update, so that a failed update leaves the file as it was.
#pragma once

#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "framework/ResourceUpdateHandle.h"

class ResourceUpdater {
public:
    // BeginUpdateResourceW(file, FALSE): the file's resources are kept unless
    // replaced. IsOpen() tells whether the update began.
    explicit ResourceUpdater(const std::wstring& file);
    // An update that did not End is discarded.
    ~ResourceUpdater() = default;

    ResourceUpdater(const ResourceUpdater&) = delete;
    ResourceUpdater& operator=(const ResourceUpdater&) = delete;

    bool IsOpen() const { return static_cast<bool>(update_); }
    // The first failure of the update (a Windows error code), 0 while none.
    DWORD Error() const { return error_; }

    // The whole file as resource type/name in the language of languageText
    // (decimal LANGID text; empty: language neutral). With lengthPrefix the
    // data is the file's length as 4 bytes, little-endian, then the file.
    // RT_BITMAP: the 14-byte bitmap file header is dropped. RT_ICON: the
    // file is an icon file; each image becomes an RT_ICON resource with a
    // new id above every RT_ICON id of the file and of this update, and
    // an RT_GROUP_ICON resource under name lists them.
    bool AddFileAsResource(LPCWSTR type, LPCWSTR name, const std::wstring& languageText, const std::wstring& file,
                           bool lengthPrefix);
    bool AddData(LPCWSTR type, LPCWSTR name, const std::wstring& languageText, const void* data, size_t size);
    // keep: writes the update into the file, unless something failed before;
    // otherwise discards it. True when the file now holds the update.
    bool End(bool keep);

private:
    bool Fail(DWORD error);
    bool Store(LPCWSTR type, LPCWSTR name, LANGID language, std::vector<BYTE> data);
    bool AddIconFile(LPCWSTR name, LANGID language, const std::vector<BYTE>& file);

    fw::ResourceUpdateHandle update_;
    // The data handed to UpdateResourceW, kept until the update ends.
    std::list<std::vector<BYTE>> buffers_;
    WORD highestIconId_ = 0;
    DWORD error_ = ERROR_SUCCESS;
};

// The language a language text names when resources are written: empty text
// gives the neutral language, any other text as icbs::ResourceLanguageFromText.
LANGID UpdateLanguageFromText(const std::wstring& languageText);
