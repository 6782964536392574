#include "app/MaintenanceCommands.h"
#include "app/ServerOptions.h"
#include "http/JournalHttpServer.h"
#include "maintenance/DatabaseLock.h"
#include "maintenance/SqliteFile.h"
#include "protocol/DemoPlant.h"
#include "protocol/Protocol.h"
#include "storage/ConnectionPool.h"
#include "tls/LocalCertificates.h"

#include <csignal>
#include <iostream>
#include <optional>
#include <thread>

using namespace journal;

namespace {

// SIGINT and SIGTERM are blocked in every thread and taken by one waiting thread, which stops the server.
sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

tls::CertificateFiles certificateFiles(const app::ServerOptions& options) {
    if (options.certificate)
        return {{}, *options.certificate, *options.certificateKey};
    const tls::CertificateFiles files = tls::ensureLocalCertificates(options.dataDirectory / "tls");
    std::cout << "CA certificate for clients: " << files.authority.string() << std::endl;
    return files;
}

int run(const app::ServerOptions& options) {
    ServerFormats formats(options.dateFormat, options.timeFormat);
    std::filesystem::create_directories(options.dataDirectory);
    const tls::CertificateFiles certificates = certificateFiles(options);

    // Held while serving, so that a restore cannot replace the database under the server.
    std::optional<maintenance::DatabaseLock> lock;
    if (const auto path = maintenance::sqlitePath(options.database))
        lock.emplace(*path, maintenance::DatabaseLock::Use::Sharing);
    const auto database = storage::openDatabase(options.database);
    if (options.demo)
        std::cout << (protocol::fillDemoPlant(*database) ? "demo plant added to the empty database"
                                                         : "the database holds records: demo plant not added")
                  << std::endl;

    const protocol::Protocol protocol(*database, std::move(formats), options.accessKey);
    http::JournalHttpServer server(protocol, certificates.certificate, certificates.key);
    const int port = server.bind(options.host, options.port);

    std::thread signalWaiter([&server] {
        const sigset_t signals = stopSignals();
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    });
    const std::string shownHost = options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
    std::cout << "listening on https://" << shownHost << ':' << port << "/api/index" << std::endl;
    server.serve();
    // serve() also returns when listening fails; wake the waiter so it can be joined.
    pthread_kill(signalWaiter.native_handle(), SIGTERM);
    signalWaiter.join();
    std::cout << "stopped" << std::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        const app::ServerOptions options = app::parseOptions({argv + 1, argv + argc});
        if (options.help) {
            std::cout << app::usage();
            return 0;
        }
        return options.command == app::Command::Serve ? run(options) : app::runMaintenanceCommand(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "journal-server: " << error.what() << "\n\n" << app::usage();
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "journal-server: " << error.what() << std::endl;
        return 1;
    }
}
