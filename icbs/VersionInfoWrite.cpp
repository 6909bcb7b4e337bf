// Writing a version block in the published VS_VERSIONINFO layout: every
// structure is a 16-bit length (of itself and its children), a 16-bit value
// length (bytes for binary values, characters for text), a 16-bit type (0
// binary, 1 text), its zero-terminated key, padding to a 4-byte boundary,
// the value, and its children, each starting on a 4-byte boundary.
#include "icbs/VersionInfo.h"

#include <cstring>

#include "framework/ResourceUpdateHandle.h"
#include "framework/Text.h"
#include "icbs/LongPath.h"

namespace {

class BlockWriter {
public:
    // Begins a structure; returns its offset for End.
    size_t Begin(const std::wstring& key, WORD valueLength, WORD type) {
        Align();
        size_t start = bytes_.size();
        Word(0);
        Word(valueLength);
        Word(type);
        for (wchar_t c : key) Word(static_cast<WORD>(c));
        Word(0);
        Align();
        return start;
    }
    void Raw(const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    // The structure's length: from its start to the last byte written. A
    // structure longer than its 16-bit length can say makes the block
    // unwritable: it is refused, never cut down to a wrapped length.
    void End(size_t start) {
        size_t length = bytes_.size() - start;
        if (length > 0xFFFF) tooLong_ = true;
        WORD word = static_cast<WORD>(length);
        std::memcpy(&bytes_[start], &word, 2);
    }
    void RefuseWhen(bool tooLong) { tooLong_ = tooLong_ || tooLong; }
    // The block; empty when a length did not fit.
    std::vector<BYTE> Take() { return tooLong_ ? std::vector<BYTE>() : std::move(bytes_); }

private:
    void Word(WORD value) { Raw(&value, 2); }
    void Align() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    std::vector<BYTE> bytes_;
    bool tooLong_ = false;
};

}  // namespace

std::vector<BYTE> VersionInfo::Block() const {
    BlockWriter out;
    size_t root = out.Begin(L"VS_VERSION_INFO", sizeof(VS_FIXEDFILEINFO), 0);
    out.Raw(&fixed, sizeof(VS_FIXEDFILEINFO));

    size_t stringInfo = out.Begin(L"StringFileInfo", 0, 1);
    size_t table = out.Begin(fw::Format(L"%04x%04x", language, codePage), 0, 1);
    for (const auto& [name, value] : strings) {
        // An empty value has no value at all; any other counts its
        // terminator.
        out.RefuseWhen(value.size() + 1 > 0xFFFF || name.size() > 0xFFFF);
        WORD characters = value.empty() ? 0 : static_cast<WORD>(value.size() + 1);
        size_t entry = out.Begin(name, characters, 1);
        if (!value.empty()) out.Text(value);
        out.End(entry);
    }
    out.End(table);
    out.End(stringInfo);

    size_t varInfo = out.Begin(L"VarFileInfo", 0, 1);
    size_t translation = out.Begin(L"Translation", 4, 0);
    WORD pair[2] = {language, codePage};
    out.Raw(pair, sizeof(pair));
    out.End(translation);
    out.End(varInfo);

    out.End(root);
    return out.Take();
}

bool VersionInfo::Write(const std::wstring& file, LANGID resourceLanguage) const {
    std::vector<BYTE> block = Block();
    if (block.empty()) return false;  // longer than a version block can be
    fw::ResourceUpdateHandle update(::BeginUpdateResourceW(icbs::ApiPath(file).c_str(), FALSE));
    if (!update) return false;
    if (!::UpdateResourceW(update.get(), RT_VERSION, MAKEINTRESOURCEW(1), resourceLanguage, block.data(),
                           static_cast<DWORD>(block.size())))
        return false;  // the owner discards the update
    return ::EndUpdateResourceW(update.release(), FALSE) != FALSE;
}
