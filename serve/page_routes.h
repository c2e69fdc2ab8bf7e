// The web page's addresses in kelmorven-serve: the home page with the town
// field, the matches without a script, the coordinates form, a place's page
// and the page's own files (style sheet, script, icon).
#pragma once

#include "places/gazetteer.h"
#include "serve/page_place.h"
#include "serve/page_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the page reads: the service's record, read-only after start, so
// that requests on any thread share it; cheap to make for each request.
struct PageService {
    const Gazetteer& gazetteer;
    const std::vector<std::string>& zones;  // the IANA zones the coordinates form offers, sorted
    std::optional<PageDate> today;          // --today; without it, the date now in the place's time zone
    std::string_view baseUrl;               // the public address for the links it writes, no final '/'
    const PageTexts& texts = EnglishPageTexts();
};

struct PageResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    QueryPairs headers;  // besides Content-Type; PageHeaders() among them
};

// The paths the page answers: "/", "/find", "/coordinates", "/place", and
// every path under "/page/".
bool IsPagePath(std::string_view path);

// The answer to a GET of path (decoded, without the query) with the decoded
// query pairs; nothing when the path is none of the page's.
std::optional<PageResponse> AnswerPage(const PageService& service, std::string_view path, const QueryPairs& query);

// The headers of every answer that a browser may show: a content security
// policy that allows only the service's own files and no inline script or
// style, no sniffing of types, no referrer to other hosts.
const QueryPairs& PageHeaders();
