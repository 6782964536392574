#pragma once

#include "storage/SqlConnection.h"

#include <chrono>
#include <memory>

struct sqlite3;

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
    void execute(std::string_view script) override;
    void begin(bool forWriting) override;
    void commit() override;
    void rollback() noexcept override;
    bool isUsable() const override { return db_ != nullptr; }
    SqlDialect dialect() const override { return SqlDialect::Sqlite; }

private:
    struct Collations;

    [[noreturn]] void fail(int code, std::string_view what) const;
    void registerFunctions();

    sqlite3* db_ = nullptr;
    std::unique_ptr<Collations> collations_;
};

} // namespace journal::storage
