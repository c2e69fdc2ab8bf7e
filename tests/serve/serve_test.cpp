// kelmorven-serve in process on loopback, on a port the system picks:
// every path, the bytes of every format against the batch tool's, the
// answers to bad input, the conditional requests and the feed's window.
#include "serve/calendar_feed.h"
#include "serve/service_routes.h"
#include "serve/year_request.h"
#include "table/table_run.h"
#include "tests/support/file_contents.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace {

struct Reply {
    int status = 0;
    std::string head, body;
    std::string Header(const std::string& name) const {
        const std::regex line("\r\n" + name + ": ([^\r]*)", std::regex::icase);
        std::smatch found;
        return std::regex_search(head, found, line) ? found[1].str() : "";
    }
};

// One request on its own connection, read to the server's close.
Reply Fetch(uint16_t port, const std::string& target, const std::string& headers = "", const std::string& method = "GET") {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Reply reply;
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return reply;
    const std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "Connection: close\r\n\r\n";
    if (::send(socket, request.data(), request.size(), MSG_NOSIGNAL) < 0) return reply;
    std::string all;
    char buffer[65536];
    for (ssize_t got; (got = ::recv(socket, buffer, sizeof buffer, 0)) > 0;) all.append(buffer, static_cast<size_t>(got));
    ::close(socket);
    const size_t end = all.find("\r\n\r\n");
    if (all.size() < 12 || end == std::string::npos) return reply;
    reply.status = std::stoi(all.substr(9, 3));
    reply.head = all.substr(0, end);
    reply.body = all.substr(end + 4);
    return reply;
}

using Query = std::vector<std::pair<std::string, std::string>>;
const Query kUlmPlace = {{"name", "Ulm & Neu-Ulm"}, {"lat", "48.3984"}, {"lon", "9.9916"}, {"tz", "Europe/Berlin"}};
const Query kSydneyPlace = {{"name", "Sydney"}, {"lat", "-33.8688"}, {"lon", "151.2093"}, {"tz", "Australia/Sydney"}};

std::string Encoded(const Query& query) {
    std::string text;
    for (const auto& [name, value] : query) {
        text += (text.empty() ? "" : "&") + name + "=";
        for (char c : value) text += c == ' ' ? std::string("%20") : c == '&' ? std::string("%26") : std::string(1, c);
    }
    return text;
}
const std::string kUlm = Encoded(kUlmPlace), kSydney = Encoded(kSydneyPlace);
const Query kUlmById = {{"place", "2820256"}};  // Ulm in the shipped places

class ServeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        program_ = new ServeProgram;
        program_->options.today = ParseIsoDate("2026-12-30");
        std::ostringstream err;
        ASSERT_EQ(LoadServeData(*program_, KELMORVEN_DATA_DIR, err), "");
        routes_ = new RouteTable;
        AddServiceRoutes(*routes_, *program_);
        ServerSettings settings;
        settings.listen = {"127.0.0.1", 0};
        settings.logRequests = false;
        server_ = new HttpServer(settings, [](const Request& r) { return routes_->Answer(r); });
        ASSERT_TRUE(server_->Running()) << server_->Error();
    }
    static void TearDownTestSuite() {
        EXPECT_TRUE(server_->Drain(5));
        delete server_;
        delete routes_;
        delete program_;
    }
    static Reply Get(const std::string& target, const std::string& headers = "") {
        return Fetch(server_->Port(), target, headers);
    }
    // What the batch tool writes for the command the service names.
    static std::string ToolBytes(const std::vector<std::string>& arguments) {
        const std::filesystem::path out = FreshFolder("serve_tool");
        std::vector<std::string> command = arguments;
        command.insert(command.end(), {"--out", out.string()});
        std::ostringstream said, err;
        EXPECT_EQ(RunTableTool(command, said, err, KELMORVEN_DATA_DIR), 0) << err.str();
        std::string bytes;
        for (const auto& file : std::filesystem::directory_iterator(out)) bytes = Contents(file.path());
        std::filesystem::remove_all(out);
        return bytes;
    }
    static ServeProgram* program_;
    static RouteTable* routes_;
    static HttpServer* server_;
};
ServeProgram* ServeTest::program_ = nullptr;
RouteTable* ServeTest::routes_ = nullptr;
HttpServer* ServeTest::server_ = nullptr;

TEST_F(ServeTest, EveryFormatGivesTheBatchToolsBytes) {
    for (const Query* place : {&kUlmPlace, &kSydneyPlace, &kUlmById}) {
        for (const OutputFormat& format : OutputFormats()) {
            SCOPED_TRACE(std::string(format.word) + " " + Encoded(*place));
            const Reply reply = Get("/year/2026." + std::string(format.word) + "?" + Encoded(*place));
            ASSERT_EQ(reply.status, 200) << reply.body;
            Request request;
            request.query = *place;
            const YearRequest year{ReadPlace(*program_, request).place, "2026", &format, {}, program_->options.today->time_since_epoch().count()};
            const ToolCommand command = TableCommand(*program_, year);
            ASSERT_FALSE(command.error);
            EXPECT_TRUE(reply.body == ToolBytes(command.arguments)) << "the bytes differ";
            EXPECT_NE(reply.Header("Content-Disposition").find(std::string(format.ending)), std::string::npos);
        }
    }
}

TEST_F(ServeTest, APlaceByValuesIsTheToolsCommandLine) {
    // Sydney keeps its zone in the data; the documents take its standard
    // offset, and no summer time: its summer is not the documents' period.
    const struct {
        const char* format;
        std::vector<std::string> tail;
    } rows[] = {
        {"ics", {"--time-zone", "Australia/Sydney"}},
        {"txt", {"--zone", "10"}},
    };
    Request request;
    request.query = kSydneyPlace;
    for (const auto& row : rows) {
        std::vector<std::string> expected = {"--year",     "2026",     "--format",  row.format, "--today",
                                             "2026-12-30", "--town",   "Sydney",    "--latitude", "33.8688",
                                             "--south",    "--longitude", "151.2093", "--east",   "--ten-mode"};
        expected.insert(expected.end(), row.tail.begin(), row.tail.end());
        const YearRequest year{ReadPlace(*program_, request).place, "2026", FindOutputFormat(row.format), {},
                               program_->options.today->time_since_epoch().count()};
        EXPECT_EQ(TableCommand(*program_, year).arguments, expected) << row.format;
    }
}

TEST_F(ServeTest, BadInputGetsItsStatusAndNamesTheRule) {
    const std::string& ulm = kUlm;
    const struct {
        std::string target;
        int status;
        const char* error;
    } rows[] = {
        {"/year/3000.ics?" + ulm, 400, "takes a year up to 2999"},
        {"/year/10000.csv?" + ulm, 400, "takes a year up to 9999"},
        {"/year/20x6.txt?" + ulm, 400, "year: year takes digits only"},
        {"/year/0.txt?" + ulm, 400, "year: "},
        {"/year/2026.ics?" + ulm + "&remind=x", 400, "remind: remind takes whole minutes"},
        {"/feed.ics?" + ulm + "&remind=99999", 400, "remind: "},
        {"/year/2026.txt?remind=5&" + ulm, 400, "remind goes with format ics"},
        {"/year/2026.txt?name=A&lat=95&lon=9&tz=Europe/Berlin", 400, "lat: Latitude must not exceed 90"},
        {"/year/2026.csv?name=A&lat=5&lon=-181&tz=Europe/Berlin", 400, "lon: Longitude must not exceed 180"},
        {"/year/2026.csv?name=A&lat=5,5&lon=9&tz=Europe/Berlin", 400, "lat: lat takes signed decimal degrees"},
        {"/year/2026.csv?name=A&lat=5&lon=9&tz=..%2F..%2Fetc%2Fpasswd", 400, "tz: "},
        {"/year/2026.csv?name=A&lat=5&lon=9&tz=Mars%2FBase", 400, "tz: "},
        {"/year/2026.csv?name=A%3Cb%3E&lat=5&lon=9&tz=Europe/Berlin", 400, "name: "},
        {"/year/2026.csv?name=A%0Ab&lat=5&lon=9&tz=Europe/Berlin", 400, "name: the name holds a control character"},
        {"/year/2026.csv?lat=5&lon=9&tz=Europe/Berlin", 400, "name: missing"},
        {"/year/2026.csv?place=12x", 400, "place: place takes a GeoNames id"},
        {"/year/2026.csv?place=1&name=A", 400, "place: place=ID goes alone"},
        {"/feed.ics?place=999999999999", 404, "place: no place has the id"},
        {"/year/2026.exe?" + ulm, 404, "FORMAT txt, rtf"},
        {"/year/2026?" + ulm, 404, "no such path"},
        {"/../../etc/passwd", 404, "no such path"},
        {"/year/..%2F..%2Fetc%2Fpasswd", 404, "no such path"},
        {"/api/places", 400, "q: missing"},
        {"/api/places?q=%FF", 400, "q: not UTF-8"},
        {"/api/today?name=A&lat=5&lon=9", 400, "tz: missing"},
        {"/healthz?" + std::string(9000, 'a'), 414, "8 KB"},
    };
    for (const auto& row : rows) {
        const Reply reply = Get(row.target);
        EXPECT_EQ(reply.status, row.status) << row.target << ": " << reply.body;
        EXPECT_NE(reply.body.find(row.error), std::string::npos) << row.target << ": " << reply.body;
        EXPECT_EQ(reply.Header("Content-Type"), "application/json") << row.target;
    }
    EXPECT_EQ(Get("/healthz", "X-Big: " + std::string(17000, 'b') + "\r\n").status, 431);
    const Reply post = Fetch(server_->Port(), "/feed.ics?" + ulm, "", "POST");
    EXPECT_EQ(post.status, 405);
    EXPECT_EQ(post.Header("Allow"), "GET, HEAD");
}

TEST_F(ServeTest, ConditionalRequestsGet304) {
    const std::string feed = "/feed.ics?" + kUlm;
    const Reply first = Get(feed);
    ASSERT_EQ(first.status, 200);
    const std::string tag = first.Header("ETag");
    const std::string modified = first.Header("Last-Modified");
    EXPECT_EQ(modified, "Wed, 30 Dec 2026 00:00:00 GMT");
    EXPECT_EQ(first.Header("Cache-Control"), "public, max-age=3600");
    const struct {
        std::string headers;
        int status;
    } rows[] = {
        {"If-None-Match: " + tag + "\r\n", 304},
        {"If-None-Match: \"other\", W/" + tag + "\r\n", 304},
        {"If-None-Match: \"other\"\r\n", 200},
        {"If-None-Match: \"other\"\r\nIf-Modified-Since: " + modified + "\r\n", 200},  // the tag decides
        {"If-Modified-Since: " + modified + "\r\n", 304},
        {"If-Modified-Since: Tue, 29 Dec 2026 23:59:59 GMT\r\n", 200},
        {"If-Modified-Since: yesterday\r\n", 200},
    };
    for (const auto& row : rows) {
        const Reply reply = Get(feed, row.headers);
        EXPECT_EQ(reply.status, row.status) << row.headers;
        EXPECT_EQ(reply.Header("ETag"), tag);
        if (row.status == 304) {
            EXPECT_EQ(reply.body, "");
        }
    }
}

TEST_F(ServeTest, TheFeedRollsAcrossTheYearsEndWithTheYearFilesUids) {
    const Reply feed = Get("/feed.ics?" + kUlm + "&remind=15");
    ASSERT_EQ(feed.status, 200);
    for (const char* line : {"X-WR-CALNAME:KELMORVEN ULM & NEU-ULM\r\n", "REFRESH-INTERVAL;VALUE=DURATION:P1D\r\n",
                             "X-PUBLISHED-TTL:P1D\r\n", "TRIGGER:-PT15M\r\n"})
        EXPECT_NE(feed.body.find(line), std::string::npos) << line;
    std::set<std::string> dates;
    const std::regex uid("UID:(\\d{8})-S[RS]-");
    for (std::sregex_iterator it(feed.body.begin(), feed.body.end(), uid), end; it != end; ++it) dates.insert((*it)[1]);
    ASSERT_FALSE(dates.empty());
    EXPECT_EQ(*dates.begin(), "20261223");  // 7 days before 30 December
    EXPECT_EQ(*dates.rbegin(), "20280203");  // 400 days after
    EXPECT_EQ(dates.size(), 408u);
    // The year's own file holds the same events under the same UIDs.
    const Reply year = Get("/year/2027.ics?" + kUlm + "&remind=15");
    const std::string event = year.body.substr(year.body.find("BEGIN:VEVENT"), 400);
    const std::string uidLine = event.substr(0, event.find("DTSTAMP"));
    EXPECT_NE(feed.body.find(uidLine), std::string::npos) << uidLine;
}

TEST_F(ServeTest, TheOtherPathsAnswer) {
    EXPECT_EQ(Get("/healthz").body, "ok\n");
    const Reply places = Get("/api/places?q=Ulm");
    EXPECT_EQ(places.status, 200);
    EXPECT_NE(places.body.find("\"time_zone\": \"Europe/Berlin\""), std::string::npos) << places.body;
    const Reply today = Get("/api/today?" + kSydney);
    EXPECT_EQ(today.status, 200);
    // 30 and 31 December in Sydney's summer time.
    EXPECT_NE(today.body.find("\"sunrise\": \"2026-12-30T05:"), std::string::npos) << today.body;
    EXPECT_NE(today.body.find("\"date\": \"2026-12-31\""), std::string::npos) << today.body;
    EXPECT_NE(today.body.find("+11:00\""), std::string::npos);
    EXPECT_EQ(Fetch(server_->Port(), "/healthz", "", "HEAD").body, "");
}

TEST_F(ServeTest, MarkupInATownIsEscapedWhereAFormatCouldCarryIt) {
    const Query place = {{"name", "A&B \"Q\" S"}, {"lat", "48"}, {"lon", "9"}, {"tz", "Europe/Berlin"}};
    const struct {
        const char* format;
        const char* escaped;  // as the format writes the town
        const char* raw;      // what would break it
    } rows[] = {
        {"svg", "A&amp;B &quot;Q&quot; S", "A&B"},
        {"json", "\"town\": \"A&B \\\"Q\\\" S\"", "\"A&B \"Q"},
    };
    for (const auto& row : rows) {
        std::string query = Encoded(place);
        query = std::regex_replace(query, std::regex("\""), "%22");
        const Reply reply = Get("/year/2026." + std::string(row.format) + "?" + query);
        ASSERT_EQ(reply.status, 200) << row.format << reply.body;
        EXPECT_NE(reply.body.find(row.escaped), std::string::npos) << row.format;
        EXPECT_EQ(reply.body.find(row.raw), std::string::npos) << row.format;
    }
}

TEST_F(ServeTest, ConcurrentRequestsForPrintedAndDataFormatsGetWholeFiles) {
    std::vector<std::thread> clients;
    std::vector<Reply> replies(8);
    for (size_t i = 0; i < replies.size(); ++i)
        clients.emplace_back([&, i] {
            const char* formats[] = {"pdf", "svg", "ics", "json"};
            replies[i] = Get("/year/" + std::to_string(2030 + i) + "." + formats[i % 4] + "?" + kSydney);
        });
    for (std::thread& client : clients) client.join();
    for (size_t i = 0; i < replies.size(); ++i) {
        EXPECT_EQ(replies[i].status, 200) << i;
        EXPECT_EQ(std::to_string(replies[i].body.size()), replies[i].Header("Content-Length")) << i;
    }
}

TEST(ResultCache, StaysWithinItsLimitDroppingTheLeastRecentlyUsed) {
    ResultCache cache(64 * 1024, 1);
    const auto rendered = [](size_t bytes) {
        auto r = std::make_shared<Rendered>();
        r->body = std::make_shared<const std::string>(bytes, 'x');
        return r;
    };
    for (int i = 0; i < 100; ++i) {
        cache.Keep("key" + std::to_string(i), rendered(4000));
        if (i == 50) {
            EXPECT_NE(cache.Find("key45"), nullptr);  // used: kept longer than its neighbours
        }
        EXPECT_LE(cache.Bytes(), 64u * 1024);
    }
    EXPECT_NE(cache.Find("key99"), nullptr);
    EXPECT_EQ(cache.Find("key0"), nullptr);
    cache.Keep("huge", rendered(100000));
    EXPECT_EQ(cache.Find("huge"), nullptr);
}

}  // namespace
