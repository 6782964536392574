#pragma once

#include "RecordTable.h"

#include <map>
#include <vector>

// A table's rows as maps of their non-empty fields, for comparing whole contents in one go.
using Row = std::map<QString, QString>;

inline std::vector<Row> rowsOf(const journal::RecordTable& table) {
    std::vector<Row> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        Row& fields = rows.emplace_back();
        for (int field = 0; field < static_cast<int>(table.fields().size()); ++field) {
            if (!table.isNull(row, field)) {
                fields[table.fields()[static_cast<std::size_t>(field)].name] = table.text(row, field);
            }
        }
    }
    return rows;
}
