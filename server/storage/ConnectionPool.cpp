#include "storage/ConnectionPool.h"

#include "storage/PostgresConnection.h"
#include "storage/Schema.h"
#include "storage/SqliteConnection.h"

namespace journal::storage {

ConnectionPool::Lease::Lease(ConnectionPool& pool, std::unique_ptr<SqlConnection> connection)
    : pool_(pool)
    , connection_(std::move(connection)) {}

ConnectionPool::Lease::~Lease() {
    if (connection_)
        pool_.giveBack(std::move(connection_));
}

ConnectionPool::ConnectionPool(Opener open)
    : open_(std::move(open)) {}

ConnectionPool::Lease ConnectionPool::acquire() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(connection));
        }
    }
    return Lease(*this, open_());
}

void ConnectionPool::giveBack(std::unique_ptr<SqlConnection> connection) {
    connection->rollback();
    if (!connection->isUsable())
        return;
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(connection));
}

std::unique_ptr<ConnectionPool> openDatabase(std::string_view location) {
    ConnectionPool::Opener open;
    if (location.starts_with("sqlite:")) {
        const std::string path(location.substr(7));
        open = [path] { return std::make_unique<SqliteConnection>(path); };
    } else if (location.starts_with("postgresql://") || location.starts_with("postgres://")) {
        const std::string url(location);
        open = [url] { return std::make_unique<PostgresConnection>(url); };
    } else {
        throw std::invalid_argument("the database is sqlite:PATH or a postgresql:// URL");
    }
    auto pool = std::make_unique<ConnectionPool>(std::move(open));
    migrateSchema(*pool->acquire());
    return pool;
}

} // namespace journal::storage
