#include "serve/http_server.h"

#include "serve/request_log.h"

#include <microhttpd.h>

#include <netdb.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <thread>

namespace {

bool SameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

std::string ResolveError(int code) { return gai_strerror(code); }

// A slow client holds a descriptor per connection, a large cached answer one
// more: the soft limit is raised
// to what the connection limit needs, as far as the hard limit allows.
void RaiseDescriptorLimit(unsigned connections) {
    rlimit limit{};
    const rlim_t wanted = connections + 1024;  // and the bodies the cache holds in memory files
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= wanted) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

SendableBody::SendableBody(const std::string& bytes) : size_(bytes.size()) {
    const int fd = ::memfd_create("kelmorven-serve body", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) return;
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (written <= 0) break;
        at += static_cast<size_t>(written);
    }
    if (at != bytes.size() || ::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SendableBody::~SendableBody() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> Request::Query(const std::string& name) const {
    for (const auto& [key, value] : query)
        if (key == name) return value;
    return std::nullopt;
}

std::optional<std::string> Request::Header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (SameLetters(key, name)) return value;
    return std::nullopt;
}

std::optional<ListenAddress> ParseListenAddress(const std::string& text) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return std::nullopt;
    std::string host = text.substr(0, colon);
    const std::string port = text.substr(colon + 1);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return std::nullopt;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return std::nullopt;  // an IPv6 address needs its brackets
    }
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(port);
    if (number > 65535) return std::nullopt;
    return ListenAddress{host, static_cast<uint16_t>(number)};
}

// One request from its first line to its end: what the log line tells.
struct HttpServer::Exchange {
    std::string target;  // the request target as sent
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::string method;
    int status = 0;  // 0 until a response is queued
    size_t bytes = 0;
    bool started = false;
    bool answered = false;
};

// A connection that has not yet begun a request counts as busy: a client
// accepted just before a stop has sent its request already, or is sending it.
struct ConnectionState {
    bool fresh = true;
    // The request begun and not yet completed: the library does not report
    // the end of a request it gave up on while reading it, so the
    // connection's close frees it.
    HttpServer::Exchange* open = nullptr;
};

struct HttpCallbacks {
    static void Connection(void* cls, MHD_Connection*, void** context, MHD_ConnectionNotificationCode code) {
        auto* server = static_cast<HttpServer*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            *context = new ConnectionState;
            server->inFlight_.fetch_add(1);
            return;
        }
        auto* state = static_cast<ConnectionState*>(*context);
        if (state && state->fresh) server->inFlight_.fetch_sub(1);
        if (state && state->open) {
            delete state->open;
            server->inFlight_.fetch_sub(1);
        }
        delete state;
        *context = nullptr;
    }

    static void* Started(void* cls, const char* uri, MHD_Connection* connection) {
        auto* server = static_cast<HttpServer*>(cls);
        server->inFlight_.fetch_add(1);
        const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        if (auto* state = info ? static_cast<ConnectionState*>(info->socket_context) : nullptr; state && state->fresh) {
            state->fresh = false;
            server->inFlight_.fetch_sub(1);
        }
        auto* exchange = new HttpServer::Exchange;
        exchange->target = uri ? uri : "";
        if (auto* state = info ? static_cast<ConnectionState*>(info->socket_context) : nullptr) state->open = exchange;
        return exchange;
    }

    static void Completed(void* cls, MHD_Connection* connection, void** context, MHD_RequestTerminationCode) {
        auto* server = static_cast<HttpServer*>(cls);
        auto* exchange = static_cast<HttpServer::Exchange*>(*context);
        if (!exchange) return;
        if (server->log_) {
            const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
            const double milliseconds =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - exchange->start).count();
            LogRequest(info ? info->client_addr : nullptr, exchange->method, exchange->target, exchange->status,
                       exchange->bytes, milliseconds);
        }
        const MHD_ConnectionInfo* socket = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        if (auto* state = socket ? static_cast<ConnectionState*>(socket->socket_context) : nullptr;
            state && state->open == exchange)
            state->open = nullptr;
        delete exchange;
        *context = nullptr;
        server->inFlight_.fetch_sub(1);
    }

    static MHD_Result Collect(void* cls, MHD_ValueKind, const char* key, size_t keySize, const char* value,
                              size_t valueSize) {
        auto* into = static_cast<std::vector<std::pair<std::string, std::string>>*>(cls);
        into->emplace_back(std::string(key, keySize), value ? std::string(value, valueSize) : std::string());
        return MHD_YES;
    }

    static Response Limited(int status, const char* error) {
        Response response;
        response.status = status;
        response.contentType = "application/json";
        response.body = std::make_shared<const std::string>(std::string("{\"error\": \"") + error + "\"}\n");
        return response;
    }

    static void FreeBody(void* cls) { delete static_cast<std::shared_ptr<const std::string>*>(cls); }

    static MHD_Response* FromBody(const Response& answer) {
        if (answer.sendable) {
            // The library closes its descriptor with the response; it sends
            // at offsets of its own, so copies of one body never meet.
            const int fd = ::fcntl(answer.sendable->Fd(), F_DUPFD_CLOEXEC, 0);
            if (fd < 0) return nullptr;
            MHD_Response* response = MHD_create_response_from_fd64(answer.sendable->Size(), fd);
            if (!response) ::close(fd);
            return response;
        }
        auto* held = new std::shared_ptr<const std::string>(answer.body);
        MHD_Response* response = MHD_create_response_from_buffer_with_free_callback_cls(
            (*held)->size(), const_cast<char*>((*held)->data()), FreeBody, held);
        if (!response) delete held;
        return response;
    }

    static MHD_Result Queue(MHD_Connection* connection, HttpServer::Exchange& exchange, const Response& answer) {
        MHD_Response* response = FromBody(answer);
        if (!response) return MHD_NO;
        MHD_add_response_header(response, "Content-Type", answer.contentType.c_str());
        for (const auto& [name, value] : answer.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
        const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
        MHD_destroy_response(response);
        exchange.status = answer.status;
        exchange.bytes = exchange.method == "HEAD" ? 0 : answer.sendable ? answer.sendable->Size() : answer.body->size();
        return queued;
    }

    static MHD_Result Access(void* cls, MHD_Connection* connection, const char* url, const char* method, const char*,
                             const char*, size_t* uploadSize, void** context) {
        auto* server = static_cast<HttpServer*>(cls);
        auto* exchange = static_cast<HttpServer::Exchange*>(*context);
        if (!exchange) return MHD_NO;
        if (exchange->answered) {
            *uploadSize = 0;
            return MHD_YES;
        }
        exchange->method = method;
        // A GET is answered once the whole request is in (an answer queued
        // before would close the connection): the first call only starts
        // it, and a body, which no route reads, is passed over. Other
        // methods get their 405 at once.
        const bool reading = exchange->method == "GET" || exchange->method == "HEAD";
        if (reading && (!exchange->started || *uploadSize != 0)) {
            exchange->started = true;
            *uploadSize = 0;
            return MHD_YES;
        }
        exchange->answered = true;
        *uploadSize = 0;

        Request request;
        request.method = method;
        request.path = url;
        MHD_get_connection_values_n(connection, MHD_GET_ARGUMENT_KIND, Collect, &request.query);
        MHD_get_connection_values_n(connection, MHD_HEADER_KIND, Collect, &request.headers);
        size_t headerBytes = 0;
        for (const auto& [name, value] : request.headers) headerBytes += name.size() + value.size() + 4;

        if (exchange->target.size() > kLongestUrl) return Queue(connection, *exchange, Limited(414, "the URL is longer than 8 KB"));
        if (headerBytes > kLargestHeaders)
            return Queue(connection, *exchange, Limited(431, "the header lines are longer than 16 KB"));
        Response answer;
        try {
            answer = server->handler_(request);
        } catch (const std::exception&) {
            answer = Limited(503, "the service could not answer now");  // out of memory, and the like
        }
        return Queue(connection, *exchange, answer);
    }

    // The library's own lines while it starts (why it cannot listen); once
    // it serves, they are about single clients (a connection broken off),
    // which the request log tells already.
    static void Log(void* cls, const char* format, va_list arguments) {
        if (!static_cast<HttpServer*>(cls)->serving_.load()) LogLibraryMessage(format, arguments);
    }
};

HttpServer::HttpServer(const ServerSettings& settings, RequestHandler handler)
    : handler_(std::move(handler)), log_(settings.logRequests) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(settings.listen.port);
    if (const int code = getaddrinfo(settings.listen.host.c_str(), port.c_str(), &hints, &found); code != 0) {
        error_ = settings.listen.host + ": " + ResolveError(code);
        return;
    }
    const bool six = found->ai_family == AF_INET6;
    sockaddr_storage address{};
    std::memcpy(&address, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);

    RaiseDescriptorLimit(settings.connectionLimit);
    const unsigned threads = std::max(1u, settings.threads);
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC | MHD_USE_ERROR_LOG;
    if (six) flags |= MHD_USE_IPv6;
    // The memory of a connection holds its request line and headers: room
    // for the longest URL and headers allowed, so that the answer to a
    // longer one is the service's own 414 or 431.
    const size_t connectionMemory = 64 * 1024;
    daemon_ = MHD_start_daemon(
        flags, settings.listen.port, nullptr, nullptr, &HttpCallbacks::Access, this,
        MHD_OPTION_EXTERNAL_LOGGER, &HttpCallbacks::Log, this,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address),
        MHD_OPTION_URI_LOG_CALLBACK, &HttpCallbacks::Started, this,
        MHD_OPTION_NOTIFY_COMPLETED, &HttpCallbacks::Completed, this,
        MHD_OPTION_NOTIFY_CONNECTION, &HttpCallbacks::Connection, this,
        MHD_OPTION_THREAD_POOL_SIZE, threads,
        MHD_OPTION_CONNECTION_LIMIT, settings.connectionLimit,
        MHD_OPTION_CONNECTION_TIMEOUT, settings.idleTimeout,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, connectionMemory,
        MHD_OPTION_LISTEN_BACKLOG_SIZE, 1024u,
        MHD_OPTION_END);
    if (!daemon_) {
        error_ = "cannot listen on " + settings.listen.host + ":" + port + ": " + std::strerror(errno);
        return;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info ? info->port : settings.listen.port;
    serving_.store(true);
}

HttpServer::~HttpServer() {
    if (daemon_) MHD_stop_daemon(daemon_);
}

bool HttpServer::Drain(double grace) {
    if (!daemon_) return true;
    const MHD_socket listening = MHD_quiesce_daemon(daemon_);
    if (listening != MHD_INVALID_SOCKET) {
        // The clients the system has accepted already, waiting in the
        // backlog, are served too: closed, they would see a reset.
        ::fcntl(listening, F_SETFL, ::fcntl(listening, F_GETFL) | O_NONBLOCK);
        for (;;) {
            sockaddr_storage address{};
            socklen_t size = sizeof address;
            const int client = ::accept4(listening, reinterpret_cast<sockaddr*>(&address), &size, SOCK_CLOEXEC);
            if (client < 0) break;
            // On failure the library has closed the socket itself.
            MHD_add_connection(daemon_, client, reinterpret_cast<sockaddr*>(&address), size);
        }
        // Refused from now on; the socket itself is closed only once the
        // library's threads have stopped, which may still look at it.
        ::shutdown(listening, SHUT_RDWR);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(grace);
    while (inFlight_.load() > 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool finished = inFlight_.load() == 0;
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
    if (listening != MHD_INVALID_SOCKET) ::close(listening);
    return finished;
}
