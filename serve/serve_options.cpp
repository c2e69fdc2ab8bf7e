#include "serve/serve_options.h"

#include "table/table_options.h"

#include <algorithm>

namespace {

constexpr const char* kUsage =
    "usage: kelmorven-serve [--listen ADDR:PORT] [--base-url URL] [--threads N]\n"
    "                       [--today YYYY-MM-DD]\n"
    "       kelmorven-serve --help | --version\n"
    "\n"
    "Serves the sunrise and sunset timetables of the places in DatenE beside the\n"
    "program over HTTP, in every format kelmorven-table writes, and a calendar\n"
    "feed per place that stays current. Writes no file; logs one line per\n"
    "request on standard error.\n"
    "  --listen ADDR:PORT  where to listen (default 127.0.0.1:8080; [::1]:8080 for\n"
    "                      IPv6; port 0 lets the system pick one, which the first\n"
    "                      line on standard error names)\n"
    "  --base-url URL      the public address behind a proxy, for the links it writes\n"
    "                      (default http://ADDR:PORT)\n"
    "  --threads N         threads answering requests (default: one per processor)\n"
    "  --today YYYY-MM-DD  a fixed today, for tests and demonstrations\n"
    "SOURCE_DATE_EPOCH, when set, is the calendars' DTSTAMP and the PDF's creation\n"
    "date unless --today is given, as for kelmorven-table.\n"
    "Paths: / (links), /healthz, /api/places?q=QUERY, /api/today?PLACE,\n"
    "/year/YEAR.FORMAT?PLACE, /feed.ics?PLACE[&remind=MINUTES], where PLACE is\n"
    "place=ID (a GeoNames id) or name=NAME&lat=DEGREES&lon=DEGREES&tz=AREA/LOCATION.\n"
    "Exit status: 0 stopped by SIGTERM or SIGINT, 64 error in the options,\n"
    "69 cannot listen.\n";

bool Has(const std::vector<std::string>& arguments, const char* name) {
    return std::find(arguments.begin(), arguments.end(), name) != arguments.end();
}

std::string ReadValue(ServeOptions& o, const std::string& name, const std::string& value) {
    if (name == "--listen") {
        const std::optional<ListenAddress> address = ParseListenAddress(value);
        if (!address) return "--listen takes ADDR:PORT, as 127.0.0.1:8080 or [::1]:8080, not \"" + value + "\"";
        o.listen = *address;
    } else if (name == "--base-url") {
        if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0)
            return "--base-url takes an http:// or https:// address, not \"" + value + "\"";
        if (value.find_first_of(" \"<>\\^`{|}") != std::string::npos ||
            std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x21; }))
            return "--base-url holds a character a link cannot: \"" + value + "\"";
        o.baseUrl = value;
        while (!o.baseUrl.empty() && o.baseUrl.back() == '/') o.baseUrl.pop_back();
    } else if (name == "--threads") {
        if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(value) < 1 || std::stoi(value) > 256)
            return "--threads takes a whole number from 1 to 256, not \"" + value + "\"";
        o.threads = static_cast<unsigned>(std::stoi(value));
    } else if (name == "--today") {
        o.today = ParseIsoDate(value);
        if (!o.today) return "--today takes a date YYYY-MM-DD, not \"" + value + "\"";
    } else {
        return name.rfind("--", 0) == 0 ? "unknown option " + name : "unexpected argument \"" + name + "\"";
    }
    return "";
}

}  // namespace

std::string ServeUsage() { return kUsage; }

ParsedServeOptions ParseServeOptions(const std::vector<std::string>& arguments) {
    ParsedServeOptions parsed;
    if (Has(arguments, "--help")) {
        parsed.options.help = true;
        return parsed;
    }
    if (Has(arguments, "--version")) {
        parsed.options.version = true;
        return parsed;
    }
    std::vector<std::string> seen;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const bool known = name == "--listen" || name == "--base-url" || name == "--threads" || name == "--today";
        if (known && std::find(seen.begin(), seen.end(), name) != seen.end()) {
            parsed.error = name + " is given twice";
            return parsed;
        }
        if (known && i + 1 == arguments.size()) {
            parsed.error = name + " needs a value";
            return parsed;
        }
        seen.push_back(name);
        parsed.error = ReadValue(parsed.options, name, known ? arguments[++i] : "");
        if (!parsed.error.empty()) return parsed;
    }
    return parsed;
}

std::string BaseUrl(const ServeOptions& options, uint16_t port) {
    if (!options.baseUrl.empty()) return options.baseUrl;
    const std::string& host = options.listen.host;
    const bool six = host.find(':') != std::string::npos;
    return "http://" + (six ? "[" + host + "]" : host) + ":" + std::to_string(port);
}
