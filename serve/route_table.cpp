#include "serve/route_table.h"

#include <nlohmann/json.hpp>

namespace {

bool Matches(const std::string& pattern, const std::string& path) {
    if (!pattern.empty() && pattern.back() == '/' && pattern.size() > 1)
        return path.size() > pattern.size() && path.compare(0, pattern.size(), pattern) == 0;
    return path == pattern;
}

}  // namespace

void RouteTable::Add(const std::string& method, const std::string& path, RequestHandler handler) {
    for (Route& route : routes_) {
        if (route.method == method && route.path == path) {
            route.handler = std::move(handler);
            return;
        }
    }
    routes_.push_back({method, path, std::move(handler)});
}

Response RouteTable::Answer(const Request& request) const {
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    std::string allowed;
    for (const Route& route : routes_) {
        if (!Matches(route.path, request.path)) continue;
        if (route.method == method) return route.handler(request);
        allowed += (allowed.empty() ? "" : ", ") + route.method + (route.method == "GET" ? ", HEAD" : "");
    }
    if (allowed.empty()) return ErrorResponse(404, "no such path: " + request.path);
    Response refused = ErrorResponse(405, request.method + " is not allowed here: " + allowed);
    refused.headers.emplace_back("Allow", allowed);
    return refused;
}

Response ErrorResponse(int status, const std::string& text) {
    Response response;
    response.status = status;
    response.contentType = "application/json";
    // A text that is no UTF-8 (a decoded request part) is written with
    // replacement characters rather than refused.
    const std::string body = nlohmann::json{{"error", text}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    response.body = std::make_shared<const std::string>(body + "\n");
    response.headers.emplace_back("Cache-Control", "no-store");
    return response;
}
