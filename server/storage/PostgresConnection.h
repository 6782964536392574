#pragma once

#include "storage/SqlConnection.h"

struct pg_conn;

namespace journal::storage {

class PostgresConnection final : public SqlConnection {
public:
    explicit PostgresConnection(const std::string& url);
    ~PostgresConnection() override;
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    std::vector<SqlRow> query(std::string_view sql, const SqlParams& params) override;
    void visitRows(std::string_view sql, const SqlParams& params, const SqlRowVisitor& visit) override;
    void execute(std::string_view script) override;
    void begin(bool forWriting) override;
    void commit() override;
    void rollback() noexcept override;
    bool isUsable() const override;
    SqlDialect dialect() const override { return SqlDialect::Postgres; }

private:
    pg_conn* connection_ = nullptr;
};

} // namespace journal::storage
