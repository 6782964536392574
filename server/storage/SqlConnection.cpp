#include "storage/SqlConnection.h"

namespace journal::storage {

void SqlConnection::visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) {
    std::vector<SqlCell> cells;
    for (const SqlRow& row : query(sql, params)) {
        cells.assign(row.begin(), row.end());
        visit(cells);
    }
}

} // namespace journal::storage
