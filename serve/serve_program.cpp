#include "serve/serve_program.h"

#include "calc/civil_time_zone.h"
#include "serve/year_request.h"
#include "table/place_choice.h"
#include "table/table_files.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

std::set<std::string> ReadZoneNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    std::ifstream list(folder / "tzdata.zi");
    for (std::string line; std::getline(list, line);) {
        std::istringstream words(line);
        std::string kind, first, second;
        words >> kind >> first >> second;
        if (kind == "Z") names.insert(first);
        else if (kind == "L") names.insert(second);  // L TARGET LINK-NAME
    }
    return names;
}

namespace {

// One calendar year made in the starting thread: what the libraries set up
// on first use (libical's UTC zone, a zone's rules) is set up before
// requests race to it.
void WarmUp(const ServeProgram& program) {
    const YearRequest year{{"", "Greenwich", "51.4769", "0", "Europe/London"}, "2026", FindOutputFormat("ics"), {},
                           int64_t{0}};
    const CalculatedYear calculated = CalculateRequestedYear(program, year);
    if (calculated.year) TableDocument(calculated.options, *calculated.year);
}

}  // namespace

std::string LoadServeData(ServeProgram& program, const std::filesystem::path& dataFolder, std::ostream& err) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        const std::string text = epoch;
        if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos)
            return "SOURCE_DATE_EPOCH must be whole seconds since 1970, not \"" + text + "\"";
        program.sourceDateEpoch = std::stoll(text);
    }
    std::ostringstream problems;
    program.gazetteer = LoadToolGazetteer(dataFolder, problems);
    // The batch tool's words, the service's name.
    std::istringstream lines(problems.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("kelmorven-table: ", 0) == 0) line = line.substr(17);
        err << "kelmorven-serve: " << line << "\n";
    }
    program.zoneNames = ReadZoneNames(CivilTimeZone::SystemFolder());
    WarmUp(program);
    return "";
}

int64_t ServiceToday(const ServeProgram& program) {
    if (program.options.today) return program.options.today->time_since_epoch().count();
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    return now - ((now % 86400) + 86400) % 86400;
}
