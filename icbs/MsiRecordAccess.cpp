#include "icbs/MsiRecordAccess.h"

#include "framework/Handles.h"

#include <vector>

std::wstring MsiRecordText(MSIHANDLE record, UINT field) {
    std::vector<wchar_t> buffer(256);
    DWORD size = static_cast<DWORD>(buffer.size());
    UINT result = fw::Msi().MsiRecordGetStringW(record, field, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size + 1);
        size = static_cast<DWORD>(buffer.size());
        result = fw::Msi().MsiRecordGetStringW(record, field, buffer.data(), &size);
    }
    if (result != ERROR_SUCCESS) return std::wstring();
    return std::wstring(buffer.data(), size);
}

namespace {

// Reads the stream field chunk by chunk and hands each chunk to sink; false
// when a read fails or the sink refuses.
template <class Sink>
bool ReadStreamChunks(MSIHANDLE record, UINT field, Sink sink) {
    char chunk[4096];
    for (;;) {
        DWORD size = sizeof(chunk);
        if (fw::Msi().MsiRecordReadStream(record, field, chunk, &size) != ERROR_SUCCESS) return false;
        if (size == 0) return true;
        if (!sink(chunk, size)) return false;
    }
}

}  // namespace

bool MsiRecordStreamBytes(MSIHANDLE record, UINT field, std::string& bytes) {
    bytes.clear();
    return ReadStreamChunks(record, field, [&](const char* data, DWORD size) {
        bytes.append(data, size);
        return true;
    });
}

bool MsiRecordStreamToFile(MSIHANDLE record, UINT field, const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    return ReadStreamChunks(record, field, [&](const char* data, DWORD size) {
        DWORD written = 0;
        return ::WriteFile(file.get(), data, size, &written, nullptr) && written == size;
    });
}

std::wstring MsiLastErrorText() {
    fw::MsiHandle record(fw::Msi().MsiGetLastErrorRecord());
    if (!record) return std::wstring();
    std::vector<wchar_t> buffer(1024);
    DWORD size = static_cast<DWORD>(buffer.size());
    UINT result = fw::Msi().MsiFormatRecordW(0, record.get(), buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size + 1);
        size = static_cast<DWORD>(buffer.size());
        result = fw::Msi().MsiFormatRecordW(0, record.get(), buffer.data(), &size);
    }
    if (result != ERROR_SUCCESS) return std::wstring();
    return std::wstring(buffer.data(), size);
}
