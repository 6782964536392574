#include "storage/PostgresConnection.h"

#include <libpq-fe.h>
#include <memory>

namespace journal::storage {
namespace {

// `?` placeholders become $1, $2, ...; the statements of this server hold no `?` in literals.
std::string numberedPlaceholders(std::string_view sql) {
    std::string numbered;
    numbered.reserve(sql.size() + 16);
    int next = 1;
    for (const char c : sql) {
        if (c == '?')
            numbered += '$' + std::to_string(next++);
        else
            numbered += c;
    }
    return numbered;
}

void check(const PGresult* result, pg_conn* connection) {
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return;
    const char* field = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const std::string_view state = field != nullptr ? field : "";
    const std::string message = PQerrorMessage(connection);
    // Class 23: integrity constraint violation.
    if (state.starts_with("23"))
        throw ConstraintViolation(message);
    // serialization_failure, deadlock_detected
    if (state == "40001" || state == "40P01")
        throw SerializationConflict(message);
    // A lost session, class 08 (connection), 53 (insufficient resources), 57P (shutting down), lock_not_available,
    // query_canceled.
    if (PQstatus(connection) != CONNECTION_OK || state.starts_with("08") || state.starts_with("53") ||
        state.starts_with("57P") || state == "55P03" || state == "57014")
        throw DatabaseUnavailable(message);
    throw StorageError(message);
}

} // namespace

PostgresConnection::PostgresConnection(const std::string& url)
    : connection_(PQconnectdb(url.c_str())) {
    if (PQstatus(connection_) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(connection_);
        PQfinish(connection_);
        connection_ = nullptr;
        throw DatabaseUnavailable("cannot connect to PostgreSQL: " + message);
    }
    // Notices (such as what a DROP cascades to) are no faults; keep them out of the request log.
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
    // Lists are read through cursors to their end: plan them for the whole result, not for its first rows.
    execute("SET client_encoding = 'UTF8'; SET cursor_tuple_fraction = 1.0");
}

PostgresConnection::~PostgresConnection() {
    PQfinish(connection_);
}

bool PostgresConnection::isUsable() const {
    return connection_ != nullptr && PQstatus(connection_) == CONNECTION_OK;
}

PostgresConnection::Result PostgresConnection::run(std::string_view sql, const SqlParams& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const SqlValue& param : params)
        values.push_back(param ? param->c_str() : nullptr);
    Result result(PQexecParams(connection_, numberedPlaceholders(sql).c_str(), static_cast<int>(values.size()), nullptr,
                               values.data(), nullptr, nullptr, 0),
                  &PQclear);
    check(result.get(), connection_);
    return result;
}

std::vector<SqlRow> PostgresConnection::query(std::string_view sql, const SqlParams& params) {
    std::vector<SqlRow> rows;
    visitResult(run(sql, params),
                [&rows](std::span<const SqlCell> cells) { rows.emplace_back(cells.begin(), cells.end()); });
    return rows;
}

// In a transaction, a long list comes through a cursor a batch at a time, the next batch asked for before this one
// is visited: the engine reads on while the rows are written, and the whole result is never held at once.
void PostgresConnection::visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) {
    if (PQtransactionStatus(connection_) != PQTRANS_INTRANS) {
        visitResult(run(sql, params), visit);
        return;
    }
    const std::string cursor = "journal_rows_" + std::to_string(++cursors_);
    run("DECLARE " + cursor + " NO SCROLL CURSOR FOR " + std::string(sql), params);
    const std::string fetch = "FETCH " + std::to_string(batchRows) + " FROM " + cursor;
    bool asked = false;
    try {
        asked = PQsendQuery(connection_, fetch.c_str()) == 1;
        for (bool more = true; more;) {
            Result batch = nextResult();
            asked = false;
            more = PQntuples(batch.get()) == batchRows;
            if (more)
                asked = PQsendQuery(connection_, fetch.c_str()) == 1;
            visitResult(batch, visit);
        }
    } catch (...) {
        // The session takes no other statement before the batch asked for has come.
        if (asked)
            while (PGresult* pending = PQgetResult(connection_))
                PQclear(pending);
        throw;
    }
    execute("CLOSE " + cursor);
}

PostgresConnection::Result PostgresConnection::nextResult() {
    Result result(PQgetResult(connection_), &PQclear);
    while (PGresult* rest = PQgetResult(connection_))
        PQclear(rest);
    check(result.get(), connection_);
    return result;
}

void PostgresConnection::visitResult(const Result& result, const SqlRowVisitor& visit) const {
    const int rowCount = PQntuples(result.get());
    std::vector<SqlCell> cells(PQnfields(result.get()));
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            cells[column] = PQgetisnull(result.get(), row, column)
                                ? SqlCell()
                                : SqlCell(std::in_place, PQgetvalue(result.get(), row, column),
                                          static_cast<std::size_t>(PQgetlength(result.get(), row, column)));
        }
        visit(cells);
    }
}

void PostgresConnection::execute(std::string_view script) {
    const Result result(PQexec(connection_, std::string(script).c_str()), &PQclear);
    check(result.get(), connection_);
}

void PostgresConnection::begin(bool forWriting) {
    // A writer queues on one lock for all writers before its snapshot is taken (SET and LOCK take none), so it sees
    // every earlier write and writers never fail each other's updates. Like SQLite's, the wait for locks is bounded.
    execute(forWriting ? "BEGIN ISOLATION LEVEL REPEATABLE READ; SET LOCAL lock_timeout = '10s';"
                         " LOCK TABLE schema_version IN EXCLUSIVE MODE"
                       : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
}

void PostgresConnection::commit() {
    execute("COMMIT");
}

void PostgresConnection::rollback() noexcept {
    if (isUsable() && PQtransactionStatus(connection_) != PQTRANS_IDLE)
        PQclear(PQexec(connection_, "ROLLBACK"));
}

} // namespace journal::storage
