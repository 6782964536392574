#include "storage/SqlConnection.h"

#include <charconv>

namespace journal::storage {

void SqlConnection::visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) {
    std::vector<SqlCell> cells;
    for (const SqlRow& row : query(sql, params)) {
        cells.assign(row.begin(), row.end());
        visit(cells);
    }
}

void SqlConnection::visitIntegerRows(std::string_view sql, const SqlParams& params, const SqlIntegerRowVisitor& visit) {
    std::vector<long long> numbers;
    visitRows(sql, params, [&](std::span<const SqlCell> row) {
        numbers.resize(row.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            const SqlCell& cell = row[i];
            const char* end = cell ? cell->data() + cell->size() : nullptr;
            if (!cell || std::from_chars(cell->data(), end, numbers[i]).ptr != end || cell->empty())
                throw StorageError("the database holds a broken number");
        }
        visit(numbers);
    });
}

} // namespace journal::storage
