#include "serve/page_service.h"

#include "serve/page_routes.h"
#include "text/dates.h"

#include <memory>

void AddPageRoutes(RouteTable& routes, ServeProgram& program) {
    const auto zones = std::make_shared<const std::vector<std::string>>(program.zoneNames.begin(), program.zoneNames.end());
    std::optional<PageDate> today;
    if (program.options.today) {
        const DateParts parts = DatePartsOf(*program.options.today);
        today = PageDate{parts.year, parts.month, parts.day};
    }
    const RequestHandler answer = [&program, zones, today](const Request& request) {
        // The base address is known once the service listens, after the rows are added.
        const PageService service{program.gazetteer, *zones, today, program.baseUrl};
        PageResponse page = *AnswerPage(service, request.path, request.query);
        Response response;
        response.status = page.status;
        response.contentType = std::move(page.contentType);
        response.body = std::make_shared<const std::string>(std::move(page.body));
        response.headers = std::move(page.headers);
        return response;
    };
    for (const char* path : {"/", "/find", "/coordinates", "/place", "/page/"}) routes.Add("GET", path, answer);
}
