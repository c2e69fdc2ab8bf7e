// The service's own paths: the year in every format of the table, the
// feed, today's moments, the places and the health check.
#pragma once

#include "serve/route_table.h"
#include "serve/serve_program.h"

// Adds the rows of every path of the service to routes; the handlers keep
// a reference to program.
void AddServiceRoutes(RouteTable& routes, ServeProgram& program);

// "Sun, 06 Nov 1994 08:49:37 GMT" (RFC 9110), and back; nothing for any
// other text.
std::string HttpDate(int64_t seconds);
std::optional<int64_t> ParseHttpDate(const std::string& text);

// A rendered answer for the request: 304 when the request's If-None-Match
// (or, without one, its If-Modified-Since) says it has it already.
Response ConditionalResponse(const Request& request, const Rendered& rendered, const std::string& cacheControl);
