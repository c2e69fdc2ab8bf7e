// The service's HTTP side, on libmicrohttpd: its parser, its limits on
// connections and its timeouts stand between the network and the routes,
// which see a parsed request and give a response.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Request {
    std::string method;  // "GET"
    std::string path;    // percent-decoded, without the query
    std::vector<std::pair<std::string, std::string>> query;    // decoded, in order
    std::vector<std::pair<std::string, std::string>> headers;  // as sent
    // The first value of a query parameter or header (header names without case).
    std::optional<std::string> Query(const std::string& name) const;
    std::optional<std::string> Header(const std::string& name) const;
};

// A large body held in anonymous memory the kernel can send from itself
// (a memfd, sealed: in no file system, unchangeable), so that an answer
// given many times is not copied out of the program each time.
class SendableBody {
public:
    explicit SendableBody(const std::string& bytes);  // Fd() -1 when the kernel would not make one
    ~SendableBody();
    SendableBody(const SendableBody&) = delete;
    SendableBody& operator=(const SendableBody&) = delete;
    int Fd() const { return fd_; }
    std::size_t Size() const { return size_; }

private:
    int fd_ = -1;
    std::size_t size_ = 0;
};

struct Response {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    // Shared, so that a cached body goes out without a copy.
    std::shared_ptr<const std::string> body = std::make_shared<const std::string>();
    std::vector<std::pair<std::string, std::string>> headers;  // besides Content-Type
    std::shared_ptr<const SendableBody> sendable;  // when set, the body instead of body
};

using RequestHandler = std::function<Response(const Request&)>;

// Where to listen: a numeric IPv4 or IPv6 address (brackets around it in
// the text) or a host name, and a port; port 0 lets the system pick one.
struct ListenAddress {
    std::string host = "127.0.0.1";
    uint16_t port = 8080;
};

// "127.0.0.1:8080", "[::1]:8080", "localhost:8080"; nothing when the text
// is none of these.
std::optional<ListenAddress> ParseListenAddress(const std::string& text);

// The limits a request must keep.
inline constexpr std::size_t kLongestUrl = 8 * 1024;      // request target, bytes: else 414
inline constexpr std::size_t kLargestHeaders = 16 * 1024;  // all header lines, bytes: else 431

struct ServerSettings {
    ListenAddress listen;
    unsigned threads = 2;
    unsigned connectionLimit = 4000;  // a slow client holds one, and little memory
    // Seconds a connection may send nothing: a request cut off mid-line and
    // half-closed is one the library sometimes waits on, and is closed then.
    unsigned idleTimeout = 10;
    bool logRequests = true;          // one line per request on standard error
};

class HttpServer {
public:
    // Starts listening and serving on its own threads; Error() says why not.
    HttpServer(const ServerSettings& settings, RequestHandler handler);
    ~HttpServer();  // stops at once
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool Running() const { return daemon_ != nullptr; }
    const std::string& Error() const { return error_; }
    uint16_t Port() const { return port_; }

    // Accepts no new connection, lets the requests in flight finish for at
    // most grace seconds, then closes every connection. True when none was
    // cut off.
    bool Drain(double grace);

    struct Exchange;  // one request on its way through the library

private:
    RequestHandler handler_;
    bool log_;
    std::atomic<int> inFlight_{0};  // requests begun and connections that have not begun one
    std::atomic<bool> serving_{false};
    struct MHD_Daemon* daemon_ = nullptr;
    uint16_t port_ = 0;
    std::string error_;

    friend struct HttpCallbacks;
};
