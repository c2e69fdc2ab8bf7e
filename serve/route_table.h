// The service's paths and what answers them. Each part of the service adds
// its rows (AddServiceRoutes, the web page's own function), and a later row
// for the same path replaces an earlier one, so that a page can take over "/".
#pragma once

#include "serve/http_server.h"

#include <string>
#include <vector>

class RouteTable {
public:
    // A path answered by handler: exactly path, or every path below it when
    // path ends in '/' ("/year/" answers "/year/2026.ics"). GET routes
    // answer HEAD as well, without the body.
    void Add(const std::string& method, const std::string& path, RequestHandler handler);

    // The answer of the route the request's path and method match; 404 for
    // a path no route has, 405 with Allow for a method it does not take.
    Response Answer(const Request& request) const;

private:
    struct Route {
        std::string method, path;
        RequestHandler handler;
    };
    std::vector<Route> routes_;
};

// {"error": "text"} with the status.
Response ErrorResponse(int status, const std::string& text);
