// The service's log on standard error, one line per request, which suits
// the journal: client, method, target, status, bytes of the body and time.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

struct sockaddr;

// "127.0.0.1 GET /healthz 200 3 0.2ms"; status 0 (no answer: the
// connection closed or the library answered) is written "-". Bytes outside
// printable ASCII in the target are written as %XX, so that a request
// cannot forge a line.
void LogRequest(const sockaddr* client, const std::string& method, const std::string& target, int status,
                std::size_t bytes, double milliseconds);

// One line of the HTTP library's own, after "kelmorven-serve: ".
void LogLibraryMessage(const char* format, va_list arguments);

// One whole line on standard error, written at once.
void LogLine(const std::string& line);
