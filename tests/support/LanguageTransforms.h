// The language transforms of the fixture products as their description
// (tests/fixtures/language_transforms.txt) states them: the tests read the
// same file that the transform writer wrote the .mst files from, and check
// what the installer makes of those files.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

struct DescribedChange {
    std::wstring kind;  // set, add or delete
    std::wstring table;
    std::wstring key;
    std::wstring column;  // empty for delete
    std::wstring value;
};

struct DescribedTransform {
    std::wstring name;     // editor_de
    std::wstring product;  // editor
    std::wstring suffix;   // de
    UINT codepage = 0;
    std::vector<DescribedChange> changes;

    // The value a change gives to a column of a row; nothing when none does.
    std::optional<std::wstring> ValueOf(const std::wstring& table, const std::wstring& key,
                                        const std::wstring& column) const {
        for (const DescribedChange& change : changes)
            if (change.kind != L"delete" && change.table == table && change.key == key && change.column == column)
                return change.value;
        return std::nullopt;
    }
    // .mst file written by the build.
    std::wstring Path() const { return FixtureDir() + L"\\transforms\\" + name + L".mst"; }
};

inline std::vector<std::wstring> SplitTabs(const std::wstring& line) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find(L'\t', start)) != std::wstring::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// Every transform of the description, in the order of the file.
inline std::vector<DescribedTransform> ReadLanguageTransforms() {
    std::wstring text = fw::FromCodePage(ReadBytes(SourceDir() + L"\\tests\\fixtures\\language_transforms.txt"), CP_UTF8);
    std::vector<DescribedTransform> transforms;
    for (const std::wstring& line : Lines(text)) {
        if (line.empty() || line[0] == L'#') continue;
        std::vector<std::wstring> fields = SplitTabs(line);
        if (transforms.empty() || transforms.back().name != fields[0]) {
            DescribedTransform transform;
            transform.name = fields[0];
            size_t underscore = fields[0].rfind(L'_');
            transform.product = fields[0].substr(0, underscore);
            transform.suffix = fields[0].substr(underscore + 1);
            transforms.push_back(transform);
        }
        DescribedTransform& current = transforms.back();
        if (fields.size() == 3 && fields[1] == L"codepage") {
            current.codepage = static_cast<UINT>(std::stoul(fields[2]));
        } else if (fields.size() == 6) {
            current.changes.push_back({fields[1], fields[2], fields[3], fields[4], fields[5]});
        } else if (fields.size() == 4 && fields[1] == L"delete") {
            current.changes.push_back({fields[1], fields[2], fields[3], L"", L""});
        } else {
            throw std::runtime_error("unreadable line in language_transforms.txt");
        }
    }
    return transforms;
}

}  // namespace testsupport
