#include "serve/page_coordinates.h"
#include "serve/page_html.h"
#include "serve/page_place_data.h"
#include "serve/page_qr.h"
#include "serve/page_routes.h"
#include "text/dates.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A service without shipped places, on a fixed today.
struct PageService : ServeProgram {
    PageService(int year, int month, int day, std::string base) {
        options.today = MakeDate(year, month, day);
        baseUrl = std::move(base);
        zoneNames = {"Etc/UTC", "Europe/Oslo", "Europe/Zurich"};
    }
    std::optional<Response> Get(std::string_view path, const QueryPairs& query = {}) const {
        return AnswerPage(*this, path, query);
    }
};

TEST(PageText, UserTextIsEscapedAndKeptValidUtf8) {
    const struct {
        std::string_view text, escaped;
    } cases[] = {
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"\" onmouseover='x' &", "&quot; onmouseover=&#39;x&#39; &amp;"},
        {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},
        {"a\xFF" "b\xC3", "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},    // stray bytes
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeHtml(c.text), c.escaped) << c.text;
    EXPECT_EQ(QueryString({{"name", "a b&c=d/é"}, {"tz", "Europe/Zurich"}}),
              "name=a%20b%26c%3Dd%2F%C3%A9&tz=Europe%2FZurich");
}

TEST(PlacePage, AMarkedUpNameShowsAsTextInEveryPlaceItAppears) {
    const PageService service(2026, 12, 31, "https://timings.example.org");
    const std::optional<Response> page = service.Get(
        "/place", {{"name", "<script>alert(1)</script>"}, {"lat", "47.3769"}, {"lon", "8.5417"}, {"tz", "Europe/Zurich"}});
    ASSERT_TRUE(page);
    ASSERT_EQ(page->status, 200) << *page->body;
    const std::string& body = *page->body;
    EXPECT_EQ(body.find("<script>alert"), std::string::npos);
    EXPECT_NE(body.find("<h1>&lt;script&gt;alert(1)&lt;/script&gt;</h1>"), std::string::npos);
    EXPECT_EQ(body.find("style=\""), std::string::npos) << "the policy forbids style attributes";
    // Tomorrow is in the next year, the month is the shown year's December.
    EXPECT_NE(body.find("datetime=\"2027-01-01T08:"), std::string::npos);
    EXPECT_NE(body.find("<tr class=\"is-today\"><th scope=\"row\"><time datetime=\"2026-12-31\">"), std::string::npos);
    EXPECT_NE(body.find("href=\"webcal://timings.example.org/feed.ics?name=%3Cscript%3E"), std::string::npos);
    for (const char* format : {"pdf", "txt", "rtf", "csv", "json", "ics", "svg"})
        EXPECT_NE(body.find(std::string("href=\"/year/2026.") + format + "?name="), std::string::npos) << format;
}

TEST(PlacePage, APolarNightIsOneStatementForTheDayAndOneCellForTheRow) {
    const PageService service(2026, 12, 9, "http://127.0.0.1:8080");
    const std::optional<Response> page =
        service.Get("/place", {{"name", "T"}, {"lat", "69.6496"}, {"lon", "18.9560"}, {"tz", "Europe/Oslo"}});
    ASSERT_TRUE(page);
    EXPECT_NE(page->body->find("</h2>\n<p class=\"polar\">The Sun stays below all day</p>"), std::string::npos);
    EXPECT_NE(page->body->find("Wed 9</time></th><td colspan=\"2\">The Sun stays below all day</td>"), std::string::npos);
}

TEST(PlacePage, AddressesThatNameNoPlaceAreRefused) {
    const PageService service(2026, 6, 1, "http://127.0.0.1:8080");
    const struct {
        QueryPairs query;
        int status;
    } cases[] = {
        {{{"place", "12x"}}, 400},
        {{{"place", "2657896"}, {"name", "X"}}, 400},
        {{{"place", "2657896"}}, 404},
        {{{"name", "X"}, {"lat", "91"}, {"lon", "0"}, {"tz", "Etc/UTC"}}, 400},
        {{{"name", "X"}, {"lat", "0"}, {"lon", "nan"}, {"tz", "Etc/UTC"}}, 400},
        {{{"name", "X"}, {"lat", "0"}, {"lon", "0"}, {"tz", "../../etc/passwd"}}, 400},
        {{{"name", "X"}, {"lat", "0"}, {"lon", "0"}, {"tz", "Etc/UTC"}, {"year", "20x6"}}, 400},
        {{{"name", "X"}, {"lat", "0"}, {"lon", "0"}, {"tz", "Etc/UTC"}, {"remind", "-5"}}, 400},
    };
    for (const auto& c : cases) {
        const std::optional<Response> page = service.Get("/place", c.query);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, c.status) << c.query.back().second;
        EXPECT_EQ(page->contentType, "text/html; charset=utf-8");
    }
}

TEST(CoordinatesForm, TheProgramsChecksDecideAndATakenPlaceGoesToItsPage) {
    const auto form = [](std::string latitude, std::string longitude, bool sixty, std::string name = "Hut") {
        return CoordinatesForm{std::move(name), std::move(latitude), std::move(longitude), false, true, sixty, "Europe/Zurich"};
    };
    const struct {
        CoordinatesForm form;
        std::string_view text;  // of the refusal, or the place's address
    } cases[] = {
        {form("95", "8", false), "Latitude must not exceed 90 degrees."},
        {form("46,5", "8", false), "input only by dot! comma not allowed! Only positive numbers!"},
        {form("46.7000", "8", true), "If you decided to calculate by 60-modus, then numbers higher than 60' or 60'' are not allowed."},
        {form("46", "8", false, "a<b"), "Not allowed signs like the following \\ / : * ?  < > | # !"},
        {form("46.3000", "7.4530", true), "/place?name=Hut&lat=46.5&lon=-7.758333&tz=Europe%2FZurich"},
    };
    for (const auto& c : cases) {
        const CoordinatesCheck check = CheckCoordinatesForm(c.form, 2026);
        EXPECT_EQ(check.title.empty() ? CoordinatesPlaceAddress(c.form, check) : check.text, c.text);
    }
    CoordinatesForm noZone = form("46", "8", false);
    noZone.timeZone = "Mars/Olympus";
    EXPECT_FALSE(CheckCoordinatesForm(noZone, 2026).title.empty());
}

TEST(QrCode, DrawsTheCodeWithItsFinderPatternsInsideTheQuietZone) {
    const std::string svg = QrCodeSvg("https://timings.example.org/feed.ics?place=2657896&remind=15", "QR");
    // 61 bytes at level M: version 4, 33 modules, 41 with the quiet zone.
    EXPECT_NE(svg.find("viewBox=\"0 0 41 41\""), std::string::npos);
    // The top-left finder's first row: seven dark modules from (4, 4);
    // the top-right one's at x = 4 + 33 - 7.
    EXPECT_NE(svg.find("d=\"M4 4h7v1h-7z"), std::string::npos);
    EXPECT_NE(svg.find("M30 4h7v1h-7z"), std::string::npos);
    EXPECT_NE(svg.find("role=\"img\" aria-label=\"QR\""), std::string::npos);
}

TEST(PageFiles, ServedWithTheirTypesAndThePolicy) {
    const PageService service(2026, 6, 1, "http://127.0.0.1:8080");
    for (const auto& [path, type] : {std::pair{"/page/style.css", "text/css; charset=utf-8"},
                                     {"/page/page.js", "text/javascript; charset=utf-8"},
                                     {"/page/icon.svg", "image/svg+xml"},
                                     {"/", "text/html; charset=utf-8"},
                                     {"/coordinates", "text/html; charset=utf-8"}}) {
        const std::optional<Response> answer = service.Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 200) << path;
        EXPECT_EQ(answer->contentType, type) << path;
        EXPECT_FALSE(answer->body->empty());
        for (const auto& header : PageHeaders())
            EXPECT_NE(std::find(answer->headers.begin(), answer->headers.end(), header), answer->headers.end()) << path;
    }
    EXPECT_EQ(service.Get("/page/../serve_program.h")->status, 404);
    EXPECT_FALSE(service.Get("/healthz"));
}

}  // namespace
