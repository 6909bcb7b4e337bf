// What the row operations know about one table of an installer database:
// its columns with their installer types, the composed insert statement with
// its parameter types, and the key-select statements by number of keys.
#pragma once

#include <windows.h>
#include <msi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class TableDescriptor {
public:
    // Composes the statements from the column names and installer column
    // types ("s72", "I2", "v0", ...).
    TableDescriptor(std::wstring table, std::vector<std::wstring> columnNames, std::vector<std::wstring> columnTypes);

    // Reads the columns with "SELECT * FROM `table`"; null when the table
    // cannot be read.
    static std::unique_ptr<TableDescriptor> Load(MSIHANDLE database, const std::wstring& table);

    const std::wstring& Table() const { return table_; }
    const std::vector<std::wstring>& ColumnNames() const { return columnNames_; }
    const std::vector<std::wstring>& ColumnTypes() const { return columnTypes_; }

    // "INSERT INTO `T` (`T`.`A`,`T`.`B`) VALUES (?,?)"
    const std::wstring& InsertStatement() const { return insertStatement_; }
    // One specifier per insertable column: "%d" or "%s".
    const std::wstring& InsertParameterTypes() const { return insertParameterTypes_; }
    size_t InsertParameterCount() const { return insertParameterTypes_.size() / 2; }
    // A table with a stream column is written through the stream operations.
    bool HasStreamColumn() const { return hasStreamColumn_; }

    // "SELECT * FROM T WHERE A=? AND B=?" for the first keyCount columns;
    // empty when the table has fewer columns. Cached per keyCount.
    const std::wstring& KeySelect(size_t keyCount);

private:
    std::wstring table_;
    std::vector<std::wstring> columnNames_;
    std::vector<std::wstring> columnTypes_;
    std::wstring insertStatement_;
    std::wstring insertParameterTypes_;
    bool hasStreamColumn_ = false;
    std::map<size_t, std::wstring> keySelects_;
};
