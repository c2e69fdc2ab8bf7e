// The command line of kelmorven-serve.
#pragma once

#include "serve/http_server.h"
#include "text/dates.h"

#include <optional>
#include <string>
#include <vector>

struct ServeOptions {
    ListenAddress listen;            // --listen ADDR:PORT
    std::string baseUrl;             // --base-url URL without its last '/'; empty: from the address
    unsigned threads = 0;            // --threads N; 0: one per processor
    std::optional<DateValue> today;  // --today YYYY-MM-DD, at 00:00; else the clock's date (UTC)
    bool help = false;
    bool version = false;
};

struct ParsedServeOptions {
    ServeOptions options;
    std::string error;  // one line; empty when the options are sound
};

// Reads the arguments after the program name; --help, then --version,
// anywhere wins over any error.
ParsedServeOptions ParseServeOptions(const std::vector<std::string>& arguments);

// The usage text --help prints.
std::string ServeUsage();

// The public address the links are written with: --base-url, or the
// listening address as http.
std::string BaseUrl(const ServeOptions& options, uint16_t port);
