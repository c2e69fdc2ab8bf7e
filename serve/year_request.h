// A request's place and year as the batch tool takes them: the service
// builds the tool's own command line from the query and runs it through the
// tool's option checks, place choice and year calculation, so that both
// programs refuse the same values with the same rules and make the same
// bytes of the same inputs.
#pragma once

#include "calc/year_result.h"
#include "documents/output_formats.h"
#include "serve/http_server.h"
#include "serve/serve_program.h"
#include "table/table_options.h"

#include <optional>
#include <string>
#include <vector>

// A refusal for the answer: 400, 404; 0 for none.
struct RequestError {
    int status = 0;
    std::string text;  // names the parameter and the rule
    explicit operator bool() const { return status != 0; }
};

// The place of a request: place=ID, or name, lat, lon (signed decimal
// degrees) and tz (an IANA zone).
struct PlaceParameters {
    std::string id;  // digits; empty for a place given by its values
    std::string name, lat, lon, tz;
};

struct PlaceReading {
    PlaceParameters place;
    RequestError error;
};

// The place parameters of the query, each checked for its shape.
PlaceReading ReadPlace(const ServeProgram& program, const Request& request);

// One year of a place in one format.
struct YearRequest {
    PlaceParameters place;
    std::string year;                   // as given
    const OutputFormat* format = nullptr;
    std::optional<std::string> remind;  // minutes, as given
    std::optional<int64_t> today;       // --today: the stamp of the calendars and PDFs
};

struct ToolCommand {
    std::vector<std::string> arguments;  // after "kelmorven-table", without --out
    RequestError error;
};

// The batch tool's command line for the request. A place given by its
// values keeps its zone in the data formats (--time-zone) and takes the
// zone's standard offset and summer time in the documents, as --place does.
ToolCommand TableCommand(const ServeProgram& program, const YearRequest& request);

struct CalculatedYear {
    std::optional<YearResult> year;
    TableOptions options;  // as the tool runs the place
    PrintedPlace printed;  // for the printed title
    RequestError error;
};

// The year of the request, calculated as the tool calculates it.
CalculatedYear CalculateRequestedYear(const ServeProgram& program, const YearRequest& request);

// The request's parameter names in a message of the tool: "--remind
// takes ..." becomes "remind: remind takes ...".
std::string InRequestTerms(const std::string& toolMessage, const char* parameter = nullptr);
