// Reading Windows Installer records: texts with a growing buffer, stream
// fields as bytes, and the text of the installer's last error record.
#pragma once

#include <windows.h>
#include <msi.h>

#include <string>

// The text of a record field; empty for a null field or a failed read.
std::wstring MsiRecordText(MSIHANDLE record, UINT field);

// Reads a whole stream field into bytes; false when the field cannot be read.
bool MsiRecordStreamBytes(MSIHANDLE record, UINT field, std::string& bytes);

// Writes a stream field to a new file at path (replacing an existing one),
// in chunks; false when the file cannot be written or the stream read.
bool MsiRecordStreamToFile(MSIHANDLE record, UINT field, const std::wstring& path);

// The formatted text of the installer's last error record of this thread;
// empty when there is none.
std::wstring MsiLastErrorText();
