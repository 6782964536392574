#pragma once

#include "storage/SqlConnection.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace journal::storage {

// Keeps idle sessions for reuse; opening one (ICU collators, TLS to PostgreSQL) costs more than a request.
class ConnectionPool {
public:
    using Opener = std::function<std::unique_ptr<SqlConnection>()>;

    // A session borrowed for one request; it goes back to the pool unless it broke meanwhile.
    class Lease {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<SqlConnection> connection);
        ~Lease();
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;

        SqlConnection& operator*() const { return *connection_; }
        SqlConnection* operator->() const { return connection_.get(); }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<SqlConnection> connection_;
    };

    explicit ConnectionPool(Opener open);

    Lease acquire();

private:
    void giveBack(std::unique_ptr<SqlConnection> connection);

    Opener open_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<SqlConnection>> idle_;
};

// "sqlite:PATH" or a "postgresql://" (or "postgres://") URL. Creates or migrates the schema before returning.
// Throws std::invalid_argument for an unknown form and StorageError when the database cannot be used.
std::unique_ptr<ConnectionPool> openDatabase(std::string_view location);

} // namespace journal::storage
