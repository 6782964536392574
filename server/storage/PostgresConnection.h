#pragma once

#include "storage/SqlConnection.h"

#include <memory>

struct pg_conn;
struct pg_result;

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
    static constexpr int batchRows = 5000;
    using Result = std::unique_ptr<pg_result, void (*)(pg_result*)>;

    Result run(std::string_view sql, const SqlParams& params);
    // The result of the statement sent, when it came.
    Result nextResult();
    void visitResult(const Result& result, const SqlRowVisitor& visit) const;

    pg_conn* connection_ = nullptr;
    unsigned long cursors_ = 0;
};

} // namespace journal::storage
