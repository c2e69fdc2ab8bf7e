#include "serve/request_log.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "text/numbers.h"

#include <cstdio>

namespace {

std::string ClientText(const sockaddr* client) {
    char text[INET6_ADDRSTRLEN] = "-";
    if (client && client->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(client)->sin_addr, text, sizeof text);
    else if (client && client->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(client)->sin6_addr, text, sizeof text);
    return text;
}

std::string Printable(const std::string& text, bool keepBlanks = false) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c > 0x20 || (keepBlanks && c == 0x20)) && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace

void LogLine(const std::string& line) {
    // One write: lines of concurrent requests never mix.
    const std::string whole = line + "\n";
    for (size_t at = 0; at < whole.size();) {
        const ssize_t written = ::write(STDERR_FILENO, whole.data() + at, whole.size() - at);
        if (written <= 0) return;
        at += static_cast<size_t>(written);
    }
}

void LogRequest(const sockaddr* client, const std::string& method, const std::string& target, int status,
                std::size_t bytes, double milliseconds) {
    // FormatFixed: the toolkit of the printed formats sets the user's locale.
    LogLine(ClientText(client) + " " + Printable(method.empty() ? "-" : method) + " " + Printable(target) + " " +
            (status ? std::to_string(status) : "-") + " " + std::to_string(bytes) + " " +
            FormatFixed(milliseconds, 1) + "ms");
}

void LogLibraryMessage(const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    LogLine("kelmorven-serve: " + Printable(line, true));
}
