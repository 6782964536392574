#include "HttpPost.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <algorithm>
#include <chrono>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <simdjson.h>

namespace journal {
namespace {

using Clock = std::chrono::steady_clock;

CURL* handle(void* curl) {
    return static_cast<CURL*>(curl);
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Keeps room for the JSON parser's padding behind the bytes, so that the answer is parsed where it arrived.
size_t appendBody(char* data, size_t size, size_t count, void* received) {
    auto& body = *static_cast<std::string*>(received);
    const std::size_t needed = body.size() + size * count + simdjson::SIMDJSON_PADDING;
    if (body.capacity() < needed)
        body.reserve(std::max(needed, 2 * body.capacity()));
    body.append(data, size * count);
    return size * count;
}

// Sending and receiving each have a time limit: the transfer ends when no byte has moved
// in either direction for that long (libcurl's own limits are per whole transfer or in seconds).
struct IdleLimit {
    std::chrono::milliseconds limit;
    curl_off_t moved = 0;
    Clock::time_point lastMove = Clock::now();

    static int check(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
        auto& idle = *static_cast<IdleLimit*>(self);
        const auto now = Clock::now();
        if (received + sent != idle.moved) {
            idle.moved = received + sent;
            idle.lastMove = now;
        }
        return now - idle.lastMove > idle.limit ? 1 : 0;
    }
};

std::string charsetOf(const char* contentType) {
    if (contentType == nullptr) {
        return {};
    }
    const QByteArray type(contentType);
    for (const QByteArray& parameter : type.split(';')) {
        const QByteArray trimmed = parameter.trimmed();
        if (trimmed.toLower().startsWith("charset=")) {
            QByteArray charset = trimmed.mid(8).trimmed();
            if (charset.startsWith('"') && charset.endsWith('"') && charset.size() >= 2) {
                charset = charset.mid(1, charset.size() - 2);
            }
            return charset.toStdString();
        }
    }
    return {};
}

bool isUtf8(const std::string& charset) {
    const QByteArray name = QByteArray::fromStdString(charset);
    return name.isEmpty() || name.compare("utf-8", Qt::CaseInsensitive) == 0 ||
           name.compare("utf8", Qt::CaseInsensitive) == 0;
}

// Bytes that are not valid in the charset become U+FFFD instead of failing the exchange.
std::string toUtf8(std::string body, const std::string& charset) {
    if (isUtf8(charset) && simdjson::validate_utf8(body.data(), body.size())) {
        if (std::string_view(body).starts_with("\xEF\xBB\xBF"))
            body.erase(0, 3); // the decoder drops an initial byte order mark too
        return body;          // nothing to decode: the bytes stay where they arrived
    }
    QStringDecoder decoder(charset.empty() ? "UTF-8" : charset.c_str());
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringConverter::Utf8);
    }
    const QString text = decoder.decode(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())));
    return text.toStdString();
}

template <typename Value>
void set(CURL* curl, CURLoption option, Value value) {
    if (curl_easy_setopt(curl, option, value) != CURLE_OK) {
        throw HttpFailure("libcurl refused an option");
    }
}

} // namespace

HttpPost::HttpPost() {
    initCurlOnce();
    fCurl = newCurlHandle();
    if (fCurl == nullptr) {
        throw HttpFailure("libcurl could not start");
    }
}

HttpPost::~HttpPost() {
    curl_easy_cleanup(handle(fCurl));
}

HttpResponse HttpPost::postForm(const ChannelSettings& settings, const std::string& formBody) {
    CURL* curl = handle(fCurl);
    std::string body;
    IdleLimit idle{std::chrono::milliseconds(settings.timeoutMs)};
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded; charset=utf-8");
    // Replaces libcurl's own Accept-Encoding while CURLOPT_ACCEPT_ENCODING still decodes gzip and deflate.
    headers = curl_slist_append(headers, "Accept-Encoding: UTF-8");
    headers = curl_slist_append(headers, "Expect:"); // no 100-continue round trip before a large form
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(headers, curl_slist_free_all);

    set(curl, CURLOPT_URL, settings.url.c_str());
    set(curl, CURLOPT_POST, 1L);
    set(curl, CURLOPT_POSTFIELDS, formBody.data());
    set(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(formBody.size()));
    set(curl, CURLOPT_HTTPHEADER, headers);
    set(curl, CURLOPT_ACCEPT_ENCODING, "");
    set(curl, CURLOPT_USERAGENT, "RepairJournal/1.0");
    set(curl, CURLOPT_FOLLOWLOCATION, 1L);
    set(curl, CURLOPT_MAXREDIRS, 5L);
    set(curl, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL));
    set(curl, CURLOPT_CONNECTTIMEOUT_MS, settings.timeoutMs);
    set(curl, CURLOPT_NOPROGRESS, 0L);
    set(curl, CURLOPT_XFERINFOFUNCTION, &IdleLimit::check);
    set(curl, CURLOPT_XFERINFODATA, &idle);
    set(curl, CURLOPT_WRITEFUNCTION, &appendBody);
    set(curl, CURLOPT_WRITEDATA, &body);
    set(curl, CURLOPT_NOSIGNAL, 1L);
    set(curl, CURLOPT_PROXY, ""); // the endpoint is a build constant: no proxy from the environment
    if (!settings.caFile.empty()) {
        set(curl, CURLOPT_CAINFO, settings.caFile.c_str());
    }

    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        throw HttpFailure(curl_easy_strerror(result));
    }
    HttpResponse response;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    const char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    response.body = toUtf8(std::move(body), charsetOf(contentType));
    return response;
}

} // namespace journal
