// The service's parts on their own: its options, its route table, HTTP
// dates, and a stop that lets a request in flight finish.
#include "serve/route_table.h"
#include "serve/serve_options.h"
#include "serve/service_routes.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

TEST(ServeOptions, EachOptionTakesItsValuesAndRefusesOthers) {
    const struct {
        std::vector<std::string> arguments;
        std::string error;  // a beginning of it; empty: accepted
    } rows[] = {
        {{}, ""},
        {{"--listen", "[::1]:0", "--threads", "4", "--today", "2026-02-28", "--base-url", "https://t.example/x/"}, ""},
        {{"--listen", "localhost:8080"}, ""},
        {{"--listen", "::1:8080"}, "--listen takes ADDR:PORT"},
        {{"--listen", "127.0.0.1:65536"}, "--listen takes ADDR:PORT"},
        {{"--listen", "127.0.0.1"}, "--listen takes ADDR:PORT"},
        {{"--threads", "0"}, "--threads takes a whole number from 1 to 256"},
        {{"--threads"}, "--threads needs a value"},
        {{"--today", "2026-02-29"}, "--today takes a date YYYY-MM-DD"},
        {{"--base-url", "ftp://x"}, "--base-url takes an http:// or https:// address"},
        {{"--base-url", "https://x/\"><script>"}, "--base-url holds a character a link cannot"},
        {{"--threads", "2", "--threads", "3"}, "--threads is given twice"},
        {{"--port", "1"}, "unknown option --port"},
        {{"--port", "1", "--help"}, ""},
    };
    for (const auto& row : rows) {
        const ParsedServeOptions parsed = ParseServeOptions(row.arguments);
        EXPECT_EQ(parsed.error.substr(0, row.error.size()), row.error) << parsed.error;
        EXPECT_EQ(parsed.error.empty(), row.error.empty()) << parsed.error;
    }
    const ServeOptions o = ParseServeOptions(rows[1].arguments).options;
    EXPECT_EQ(o.listen.host, "::1");
    EXPECT_EQ(o.threads, 4u);
    EXPECT_EQ(BaseUrl(o, 80), "https://t.example/x");
    EXPECT_EQ(BaseUrl(ParseServeOptions({"--listen", "[::1]:0"}).options, 4711), "http://[::1]:4711");
}

TEST(HttpDates, ReadBackAsWrittenAndOtherTextsAreNone) {
    EXPECT_EQ(HttpDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(ParseHttpDate(HttpDate(1798761599)), 1798761599);  // the last second of 2026
    for (const char* text : {"Sunday, 06-Nov-94 08:49:37 GMT", "Sun, 31 Feb 1994 08:49:37 GMT",
                             "Sun, 06 Nov 1994 25:49:37 GMT", "Sun, 06 Xyz 1994 08:49:37 GMT", ""})
        EXPECT_EQ(ParseHttpDate(text), std::nullopt) << text;
}

Response Text(const std::string& text) {
    Response r;
    r.body = std::make_shared<const std::string>(text);
    return r;
}

TEST(RouteTable, ALaterRowReplacesAPathAndAPrefixAnswersBelowIt) {
    RouteTable routes;
    routes.Add("GET", "/", [](const Request&) { return Text("links"); });
    routes.Add("GET", "/year/", [](const Request& r) { return Text("year " + r.path); });
    routes.Add("GET", "/", [](const Request&) { return Text("page"); });
    const struct {
        const char* method;
        const char* path;
        int status;
        const char* body;
    } rows[] = {
        {"GET", "/", 200, "page"},     {"HEAD", "/year/2026.ics", 200, "year /year/2026.ics"},
        {"GET", "/year/", 404, ""},    {"GET", "/yearx", 404, ""},
        {"DELETE", "/", 405, ""},
    };
    for (const auto& row : rows) {
        Request request;
        request.method = row.method;
        request.path = row.path;
        const Response answer = routes.Answer(request);
        EXPECT_EQ(answer.status, row.status) << row.path;
        if (row.status == 200) {
            EXPECT_EQ(*answer.body, row.body);
        }
    }
}

int Connect(uint16_t port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

TEST(HttpServer, ADrainFinishesTheRequestInFlightAndAcceptsNoMore) {
    ServerSettings settings;
    settings.listen = {"127.0.0.1", 0};
    settings.logRequests = false;
    HttpServer server(settings, [](const Request&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return Text("late");
    });
    ASSERT_TRUE(server.Running()) << server.Error();
    const uint16_t port = server.Port();
    std::string reply;
    std::thread client([&] {
        const int socket = Connect(port);
        const std::string request = "GET /slow HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
        ::send(socket, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[4096];
        for (ssize_t got; (got = ::recv(socket, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, size_t(got));
        ::close(socket);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the request is in the handler
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(server.Drain(5));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    client.join();
    EXPECT_EQ(reply.substr(0, 12), "HTTP/1.1 200");
    EXPECT_NE(reply.find("late"), std::string::npos);
    EXPECT_EQ(Connect(port), -1);  // no longer listening
}

}  // namespace
