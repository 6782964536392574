#include "http/JournalHttpServer.h"

#include "http/FormBody.h"
#include "http/RequestLog.h"
#include "http/StreamedAnswer.h"

#include <chrono>
#include <httplib.h>
#include <malloc.h>
#include <openssl/ssl.h>
#include <stdexcept>
#include <sys/socket.h>

namespace journal::http {
namespace {

// The charset keeps cpp-httplib from compressing the answer: the client asks for no content coding.
constexpr const char* jsonContentType = "application/json; charset=utf-8";

// A long answer is sent piece by piece from the text it was written into, never copied into one string; a short
// one (every error answer among them, which the error handler checks for a body) goes as the body.
void sendJson(httplib::Response& response, int status, protocol::JsonText body) {
    response.status = status;
    if (body.pieces().size() <= 1) {
        response.body = body.takeWhole();
        response.set_header("Content-Type", jsonContentType);
        return;
    }
    // The releaser owns the text: it runs once the answer was sent and hands the memory back at once. Each worker
    // thread allocates from its own arena, which would otherwise keep the pieces of its last long answer.
    auto owned = std::make_shared<const protocol::JsonText>(std::move(body));
    const protocol::JsonText* text = owned.get();
    response.set_content_provider(
        text->size(), jsonContentType,
        [text, piece = std::size_t(0), pieceStart = std::size_t(0)](std::size_t offset, std::size_t,
                                                                    httplib::DataSink& sink) mutable {
            const std::vector<std::string>& pieces = text->pieces();
            // Asked for in order, except when a Range header asks for parts of the answer.
            if (offset < pieceStart)
                piece = pieceStart = 0;
            while (piece < pieces.size() && offset >= pieceStart + pieces[piece].size())
                pieceStart += pieces[piece++].size();
            if (piece == pieces.size())
                return false;
            const std::size_t within = offset - pieceStart;
            return sink.write(pieces[piece].data() + within, pieces[piece].size() - within);
        },
        [owned](bool) mutable {
            owned.reset();
            malloc_trim(0);
        });
}

std::string_view outcomeName(protocol::Outcome outcome) {
    switch (outcome) {
    case protocol::Outcome::Success:
        return "ok";
    case protocol::Outcome::Refused:
        return "refused";
    case protocol::Outcome::Failed:
        break;
    }
    return "failed";
}

// httplib copies every chunk it sends into new strings. Below malloc's mmap threshold they come from the heap; with a
// heap's free top given back only beyond 4 MiB, not at every free, they take the same memory again chunk after chunk
// instead of faulting every 4 KiB. A larger top would stay with a thread's heap, which malloc_trim leaves as it is.
constexpr std::size_t chunkBytes = 64 * 1024;

void keepFreedMemoryWhileAnswering() {
    mallopt(M_TRIM_THRESHOLD, 4 << 20);
}

bool writeChunks(httplib::DataSink& sink, std::string_view piece) {
    for (std::size_t at = 0; at < piece.size(); at += chunkBytes) {
        if (!sink.write(piece.data() + at, std::min(chunkBytes, piece.size() - at)))
            return false;
    }
    return true;
}

// A long answer of a read goes out in chunks while it is being written. Should the read fail after the first one,
// the list is broken off and the answer ends as an error object, which the client shows instead of the list; where
// nothing can end it (the commit failed), the connection is closed without the last chunk, which no client takes
// for a whole answer.
void sendStreamed(httplib::Response& response, std::shared_ptr<StreamedAnswer> streamed,
                  std::chrono::steady_clock::time_point started) {
    response.status = 200;
    StreamedAnswer* answering = streamed.get();
    response.set_chunked_content_provider(
        jsonContentType,
        [streamed = answering, started](std::size_t, httplib::DataSink& sink) {
            while (auto piece = streamed->next()) {
                if (!writeChunks(sink, *piece)) {
                    logRequest({}, "client-gone", std::chrono::steady_clock::now() - started);
                    return false;
                }
                streamed->recycle(std::move(*piece));
            }
            const protocol::Answer& answer = streamed->finished();
            const auto elapsed = std::chrono::steady_clock::now() - started;
            if (answer.outcome == protocol::Outcome::Failed)
                logFault(answer.command, answer.fault);
            if (!streamed->endsWhole()) {
                logRequest(answer.command, "cut", elapsed);
                return false;
            }
            sink.done();
            logRequest(answer.command, outcomeName(answer.outcome), elapsed);
            return true;
        },
        // Owns the answer: it runs whether or not the provider ran (and then stops the writer). Each thread allocates
        // from its own malloc arena, which would otherwise keep the long answer's memory.
        [streamed = std::move(streamed)](bool) mutable {
            streamed.reset();
            malloc_trim(0);
        });
}

std::string_view statusMessage(int status) {
    switch (status) {
    case 404:
    case 405:
        return "Неизвестный адрес: команды принимаются только запросом POST на /api/index.";
    case 413:
        return "Запрос слишком большой.";
    default:
        return "Неверный запрос HTTP.";
    }
}

// TLS 1.2 and 1.3 only; on TLS 1.2 only forward-secret AEAD suites, for ECDSA and for RSA keys alike, since --cert
// may bring either. TLS 1.3 has nothing else to offer.
constexpr const char* tls12Suites = "ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-RSA-AES128-GCM-SHA256:"
                                    "ECDHE-ECDSA-AES256-GCM-SHA384:ECDHE-RSA-AES256-GCM-SHA384:"
                                    "ECDHE-ECDSA-CHACHA20-POLY1305:ECDHE-RSA-CHACHA20-POLY1305";
constexpr const char* tls13Suites = "TLS_AES_128_GCM_SHA256:TLS_AES_256_GCM_SHA384:TLS_CHACHA20_POLY1305_SHA256";

void restrictTls(SSL_CTX* context) {
    if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 ||
        SSL_CTX_set_cipher_list(context, tls12Suites) != 1 || SSL_CTX_set_ciphersuites(context, tls13Suites) != 1)
        throw std::runtime_error("cannot restrict the TLS versions and cipher suites");
}

std::string describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(std::move(error));
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

std::optional<std::string> field(const std::map<std::string, std::string>& fields, const std::string& name) {
    const auto found = fields.find(name);
    return found == fields.end() ? std::nullopt : std::optional(found->second);
}

} // namespace

JournalHttpServer::JournalHttpServer(const protocol::Protocol& protocol, const std::filesystem::path& certificate,
                                     const std::filesystem::path& key)
    : protocol_(protocol)
    , server_(std::make_unique<httplib::SSLServer>(certificate.c_str(), key.c_str())) {
    if (!server_->is_valid())
        throw std::runtime_error("cannot load the certificate " + certificate.string() + " and key " + key.string());
    restrictTls(server_->ssl_context());
    keepFreedMemoryWhileAnswering();
    routeRequests();
}

JournalHttpServer::~JournalHttpServer() = default;

void JournalHttpServer::routeRequests() {
    server_->set_payload_max_length(maxBodyBytes);
    // A long answer goes out as headers and then pieces: without this, Nagle's algorithm holds the first piece back
    // until the client's delayed acknowledgement of the headers, some 40 ms.
    server_->set_tcp_nodelay(true);
    // cpp-httplib's default SO_REUSEPORT would let a second server share the port and take half the requests;
    // SO_REUSEADDR alone still allows a restart while old connections linger.
    server_->set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    server_->Post("/api/index", [this](const httplib::Request& request, httplib::Response& response) {
        const auto started = std::chrono::steady_clock::now();
        if (!isFormContentType(request.get_header_value("Content-Type"))) {
            sendJson(response, 415,
                     protocol::refusalBody("Запрос должен быть формой (application/x-www-form-urlencoded)."));
            logRequest({}, "not-a-form", std::chrono::steady_clock::now() - started);
            return;
        }
        const auto fields = decodeForm(request.body);
        if (!fields) {
            sendJson(response, 400, protocol::refusalBody("Тело запроса не является корректной формой."));
            logRequest({}, "not-a-form", std::chrono::steady_clock::now() - started);
            return;
        }
        auto streamed = std::make_shared<StreamedAnswer>(
            [this, data = field(*fields, "data"), key = field(*fields, "key")](
                const protocol::JsonText::PieceSink& sink) { return protocol_.answer(data, key, sink); });
        if (streamed->streams()) {
            sendStreamed(response, std::move(streamed), started);
            return;
        }
        protocol::Answer& answer = streamed->finished();
        if (answer.outcome == protocol::Outcome::Failed)
            logFault(answer.command, answer.fault);
        sendJson(response, answer.outcome == protocol::Outcome::Failed ? 500 : 200, std::move(answer.body));
        logRequest(answer.command, outcomeName(answer.outcome), std::chrono::steady_clock::now() - started);
    });
    // Also called for the handler's own 4xx and 500 answers, which already carry their JSON.
    server_->set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
            if (!response.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            sendJson(response, response.status, protocol::refusalBody(statusMessage(response.status)));
            logRequest({}, "http-" + std::to_string(response.status), {});
            return httplib::Server::HandlerResponse::Handled;
        }));
    server_->set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        sendJson(response, 500, protocol::refusalBody("Внутренняя ошибка сервера."));
        logFault({}, describe(error));
        logRequest({}, "failed", {});
    });
}

int JournalHttpServer::bind(const std::string& host, int port) {
    const int bound = port == 0 ? server_->bind_to_any_port(host) : (server_->bind_to_port(host, port) ? port : -1);
    if (bound <= 0)
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port));
    return bound;
}

void JournalHttpServer::serve() {
    server_->listen_after_bind();
}

bool JournalHttpServer::isServing() const {
    return server_->is_running();
}

void JournalHttpServer::stop() {
    server_->stop();
}

} // namespace journal::http
