// The web page's addresses in kelmorven-serve: the home page with the town
// field, the matches without a script, the coordinates form, a place's page
// and the page's own files (style sheet, script, icon).
#pragma once

#include "serve/http_server.h"
#include "serve/page_text.h"
#include "serve/route_table.h"
#include "serve/serve_program.h"

#include <optional>
#include <string_view>

// The answer to a GET of path (decoded, without the query) with the decoded
// query pairs; nothing when the path is none of the page's. Reads program
// only, so that requests on any thread share it.
std::optional<Response> AnswerPage(const ServeProgram& program, std::string_view path,
                                   const std::vector<std::pair<std::string, std::string>>& query,
                                   const PageTexts& texts = EnglishPageTexts());

// Adds the page's rows to routes: "/" (replacing the page of links),
// "/find", "/coordinates", "/place" and "/page/"; the handlers keep a
// reference to program.
void AddPageRoutes(RouteTable& routes, const ServeProgram& program);

// The headers of every answer that a browser may show: a content security
// policy that allows only the service's own files and no inline script or
// style, no sniffing of types, no referrer to other hosts.
const std::vector<std::pair<std::string, std::string>>& PageHeaders();
