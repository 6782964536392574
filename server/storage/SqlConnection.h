#pragma once

#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace journal::storage {

using SqlValue = std::optional<std::string>;
using SqlRow = std::vector<SqlValue>;
using SqlParams = std::vector<SqlValue>;
// A value as the engine holds it; valid only while the row is being visited.
using SqlCell = std::optional<std::string_view>;
using SqlRowVisitor = std::function<void(std::span<const SqlCell> row)>;
using SqlIntegerRowVisitor = std::function<void(std::span<const long long> row)>;

// The database failed on a statement.
class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The database cannot be reached now (connection refused or lost) or is too busy (locks of others outlasted the
// wait); the request may succeed later.
class DatabaseUnavailable : public StorageError {
public:
    using StorageError::StorageError;
};

// Another transaction changed the same rows meanwhile. The transaction is lost and may be run again.
class SerializationConflict : public DatabaseUnavailable {
public:
    using DatabaseUnavailable::DatabaseUnavailable;
};

// A reference between records stopped the change (another request changed the data meanwhile).
class ConstraintViolation : public StorageError {
public:
    using StorageError::StorageError;
};

enum class SqlDialect { Sqlite, Postgres };

// One open database session, used by one thread at a time.
// Both engines provide the collations ru_text and ru_natural and the function fold(text); SQLite also
// ru_text_key(text) and ru_natural_key(text), the sort keys of those collations.
class SqlConnection {
public:
    virtual ~SqlConnection() = default;

    // Runs one statement with `?` placeholders bound in order; every value travels as text or NULL.
    virtual std::vector<SqlRow> query(std::string_view sql, const SqlParams& params = {}) = 0;
    // The same, handing each row to `visit` as it is read instead of copying the result; for long lists.
    virtual void visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit);
    // The same for rows of integers only (ids, positions), which need not go through their text; throws
    // StorageError on any other value.
    virtual void visitIntegerRows(std::string_view sql, const SqlParams& params, const SqlIntegerRowVisitor& visit);
    // Runs a script of statements without parameters.
    virtual void execute(std::string_view script) = 0;

    // Every statement of a transaction reads one snapshot. A writing transaction takes the write lock at once,
    // so two writers never deadlock upgrading.
    virtual void begin(bool forWriting) = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;

    // False once the session is broken and must not go back to the pool.
    virtual bool isUsable() const = 0;
    virtual SqlDialect dialect() const = 0;
};

} // namespace journal::storage
