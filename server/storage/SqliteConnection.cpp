#include "storage/SqliteConnection.h"

#include "text/RussianOrder.h"
#include "text/UnicodeText.h"

#include <sqlite3.h>

namespace journal::storage {
namespace {

int compareInOrder(void* order, int leftLength, const void* left, int rightLength, const void* right) {
    return static_cast<const RussianOrder*>(order)->compare(
        {static_cast<const char*>(left), static_cast<std::size_t>(leftLength)},
        {static_cast<const char*>(right), static_cast<std::size_t>(rightLength)});
}

// ru_text_key(text), ru_natural_key(text): the order's sort key as a BLOB, which sorts bytewise in that order.
void sortKeyFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (text == nullptr) {
        sqlite3_result_null(context);
        return;
    }
    try {
        const std::string key = static_cast<const RussianOrder*>(sqlite3_user_data(context))
                                    ->sortKey({text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))});
        sqlite3_result_blob(context, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    } catch (const std::exception& error) {
        sqlite3_result_error(context, error.what(), -1);
    }
}

void foldFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (text == nullptr) {
        sqlite3_result_null(context);
        return;
    }
    const std::string folded = foldCase({text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))});
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

} // namespace

SqliteConnection::SqliteConnection(const std::string& path, std::chrono::milliseconds busyWait) {
    const int code =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseUnavailable("cannot open SQLite database " + path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, static_cast<int>(busyWait.count()));
    registerFunctions();
    try {
        // WAL lets readers go on while one writer commits. FULL syncs the log at every commit, so a save that was
        // answered survives a power cut too, not only a crash of the server (NORMAL may lose the last commits).
        query("PRAGMA journal_mode = WAL", {});
        execute("PRAGMA foreign_keys = ON; PRAGMA synchronous = FULL;");
    } catch (...) {
        // A database busy or damaged beyond reading its schema: no destructor runs for a constructor that throws.
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteConnection::~SqliteConnection() {
    sqlite3_close(db_);
}

void SqliteConnection::registerFunctions() {
    // The orders are shared and never change: SQLite only reads them.
    auto* text = const_cast<RussianOrder*>(&RussianOrder::text());
    auto* natural = const_cast<RussianOrder*>(&RussianOrder::natural());
    sqlite3_create_collation(db_, "ru_text", SQLITE_UTF8, text, compareInOrder);
    sqlite3_create_collation(db_, "ru_natural", SQLITE_UTF8, natural, compareInOrder);
    for (const auto& [name, order] : {std::pair("ru_text_key", text), std::pair("ru_natural_key", natural)})
        sqlite3_create_function_v2(db_, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, order,
                                   sortKeyFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db_, "fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               foldFunction, nullptr, nullptr, nullptr);
}

void SqliteConnection::fail(int code, std::string_view what) const {
    std::string message = std::string(what) + ": " + sqlite3_errmsg(db_);
    if (code == SQLITE_CONSTRAINT_FOREIGNKEY)
        throw ConstraintViolation(message);
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        throw DatabaseUnavailable(message);
    default:
        throw StorageError(message);
    }
}

std::vector<SqlRow> SqliteConnection::query(std::string_view sql, const SqlParams& params) {
    std::vector<SqlRow> rows;
    visitRows(sql, params, [&rows](std::span<const SqlCell> cells) { rows.emplace_back(cells.begin(), cells.end()); });
    return rows;
}

SqliteConnection::Statement::~Statement() {
    sqlite3_finalize(handle);
}

SqliteConnection::Statement SqliteConnection::prepare(std::string_view sql, const SqlParams& params) const {
    Statement statement;
    int code = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement.handle, nullptr);
    if (code != SQLITE_OK)
        fail(code, "prepare");
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        code = params[i] ? sqlite3_bind_text(statement.handle, index, params[i]->data(),
                                             static_cast<int>(params[i]->size()), SQLITE_STATIC)
                         : sqlite3_bind_null(statement.handle, index);
        if (code != SQLITE_OK)
            fail(code, "bind");
    }
    return statement;
}

void SqliteConnection::visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) {
    const Statement statement = prepare(sql, params);
    std::vector<SqlCell> cells(sqlite3_column_count(statement.handle));
    int code;
    while ((code = sqlite3_step(statement.handle)) == SQLITE_ROW) {
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle, column));
            cells[column] = text == nullptr
                                ? SqlCell()
                                : SqlCell(std::in_place, text,
                                          static_cast<std::size_t>(sqlite3_column_bytes(statement.handle, column)));
        }
        visit(cells);
    }
    if (code != SQLITE_DONE)
        fail(code, "step");
}

void SqliteConnection::visitIntegerRows(std::string_view sql, const SqlParams& params,
                                        const SqlIntegerRowVisitor& visit) {
    const Statement statement = prepare(sql, params);
    std::vector<long long> numbers(sqlite3_column_count(statement.handle));
    int code;
    while ((code = sqlite3_step(statement.handle)) == SQLITE_ROW) {
        for (int column = 0; column < static_cast<int>(numbers.size()); ++column) {
            if (sqlite3_column_type(statement.handle, column) != SQLITE_INTEGER)
                throw StorageError("the database holds a broken number");
            numbers[column] = sqlite3_column_int64(statement.handle, column);
        }
        visit(numbers);
    }
    if (code != SQLITE_DONE)
        fail(code, "step");
}

void SqliteConnection::execute(std::string_view script) {
    const std::string text(script);
    const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code, "execute");
}

void SqliteConnection::begin(bool forWriting) {
    execute(forWriting ? "BEGIN IMMEDIATE" : "BEGIN");
}

void SqliteConnection::commit() {
    execute("COMMIT");
}

void SqliteConnection::rollback() noexcept {
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace journal::storage
