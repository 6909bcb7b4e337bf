// Summary information: the template text and the word-count bits, written
// back when the database is closed.
#include "icbs/MsiDatabase.h"

#include <vector>

namespace {

constexpr UINT kTemplateProperty = 7;    // PID_TEMPLATE
constexpr UINT kWordCountProperty = 15;  // PID_WORDCOUNT
constexpr UINT kSummaryUpdateCount = 8;

}  // namespace

bool ICBSMSIDatabase::OpenSummary() {
    if (summary_) return true;
    if (!database_) return false;
    return fw::Msi().MsiGetSummaryInformationW(database_.get(), nullptr, kSummaryUpdateCount, summary_.put()) ==
           ERROR_SUCCESS;
}

bool ICBSMSIDatabase::SetSummaryTemplate(const std::wstring& text) {
    if (!OpenSummary()) return false;
    if (fw::Msi().MsiSummaryInfoSetPropertyW(summary_.get(), kTemplateProperty, VT_LPSTR, 0, nullptr,
                                             text.c_str()) != ERROR_SUCCESS)
        return false;
    summaryDirty_ = true;
    return true;
}

bool ICBSMSIDatabase::SetWordCountBit(int bit, bool on) {
    if (!OpenSummary()) return false;
    int wordCount = GetSummaryInteger(kWordCountProperty).value_or(0);
    wordCount = on ? (wordCount | bit) : (wordCount & ~bit);
    if (fw::Msi().MsiSummaryInfoSetPropertyW(summary_.get(), kWordCountProperty, VT_I4, wordCount, nullptr,
                                             nullptr) != ERROR_SUCCESS)
        return false;
    summaryDirty_ = true;
    return true;
}

bool ICBSMSIDatabase::SetShortFileNames(bool on) { return SetWordCountBit(1, on); }
bool ICBSMSIDatabase::SetCompressed(bool on) { return SetWordCountBit(2, on); }
bool ICBSMSIDatabase::SetAdministrativeImage(bool on) { return SetWordCountBit(4, on); }
bool ICBSMSIDatabase::SetNoElevationNeeded(bool on) { return SetWordCountBit(8, on); }

std::wstring ICBSMSIDatabase::GetSummaryString(UINT property) {
    if (!OpenSummary()) return std::wstring();
    UINT type = 0;
    INT integer = 0;
    FILETIME time{};
    std::vector<wchar_t> buffer(256);
    DWORD size = static_cast<DWORD>(buffer.size());
    UINT result =
        fw::Msi().MsiSummaryInfoGetPropertyW(summary_.get(), property, &type, &integer, &time, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size + 1);
        size = static_cast<DWORD>(buffer.size());
        result = fw::Msi().MsiSummaryInfoGetPropertyW(summary_.get(), property, &type, &integer, &time,
                                                      buffer.data(), &size);
    }
    if (result != ERROR_SUCCESS) return std::wstring();
    if (type == VT_LPSTR) return std::wstring(buffer.data(), size);
    if (type == VT_I2 || type == VT_I4) return std::to_wstring(integer);
    if (type == VT_FILETIME) {
        ULARGE_INTEGER value{};
        value.LowPart = time.dwLowDateTime;
        value.HighPart = time.dwHighDateTime;
        return std::to_wstring(value.QuadPart);
    }
    return std::wstring();
}

std::optional<int> ICBSMSIDatabase::GetSummaryInteger(UINT property) {
    if (!OpenSummary()) return std::nullopt;
    UINT type = 0;
    INT integer = 0;
    DWORD size = 0;
    if (fw::Msi().MsiSummaryInfoGetPropertyW(summary_.get(), property, &type, &integer, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != VT_I2 && type != VT_I4) return std::nullopt;
    return integer;
}
