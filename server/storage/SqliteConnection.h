#pragma once

#include "storage/SqlConnection.h"

#include <chrono>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace journal::storage {

class SqliteConnection final : public SqlConnection {
public:
    // A statement waits up to busyWait for the locks of other sessions.
    explicit SqliteConnection(const std::string& path, std::chrono::milliseconds busyWait = std::chrono::seconds(10));
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::vector<SqlRow> query(std::string_view sql, const SqlParams& params) override;
    void visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) override;
    void visitIntegerRows(std::string_view sql, const SqlParams& params, const SqlIntegerRowVisitor& visit) override;
    void execute(std::string_view script) override;
    void begin(bool forWriting) override;
    void commit() override;
    void rollback() noexcept override;
    bool isUsable() const override { return db_ != nullptr; }
    SqlDialect dialect() const override { return SqlDialect::Sqlite; }

private:
    // A prepared statement, finalised when it goes out of scope.
    struct Statement {
        sqlite3_stmt* handle = nullptr;
        Statement() = default;
        Statement(Statement&& other) noexcept
            : handle(std::exchange(other.handle, nullptr)) {}
        ~Statement();
    };

    [[noreturn]] void fail(int code, std::string_view what) const;
    Statement prepare(std::string_view sql, const SqlParams& params) const;
    void registerFunctions();

    sqlite3* db_ = nullptr;
};

} // namespace journal::storage
