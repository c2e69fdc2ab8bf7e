#include "serve/serve_run.h"

#include "serve/http_server.h"
#include "serve/page_routes.h"
#include "serve/request_log.h"
#include "serve/service_routes.h"
#include "serve/serve_program.h"
#include "table/table_version.h"

#include <csignal>
#include <malloc.h>
#include <ostream>
#include <thread>

int RunServe(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             const std::filesystem::path& dataFolder) {
    const ParsedServeOptions parsed = ParseServeOptions(arguments);
    if (parsed.options.help) {
        out << ServeUsage();
        return kServeStopped;
    }
    if (parsed.options.version) {
        out << "kelmorven-serve " << kKelmorvenVersion << "\n";
        return kServeStopped;
    }
    if (!parsed.error.empty()) {
        err << "kelmorven-serve: " << parsed.error << "\n" << ServeUsage();
        return kServeUsageError;
    }
    // The signals that end the service wait for sigwait below; blocked
    // before any thread starts, so that none of them takes one.
    // Two heaps for all threads: a heap per thread would keep the memory of
    // each thread's largest render, and the resident size would follow the
    // number of threads rather than the cache's bound.
    mallopt(M_ARENA_MAX, 2);
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

    ServeProgram program;
    program.options = parsed.options;
    if (const std::string error = LoadServeData(program, dataFolder, err); !error.empty()) {
        err << "kelmorven-serve: " << error << "\n";
        return kServeUsageError;
    }
    if (!program.printing.Ready()) LogLine("kelmorven-serve: " + program.printing.Error() + "; pdf and svg answer 503");
    RouteTable routes;
    AddServiceRoutes(routes, program);
    AddPageRoutes(routes, program);
    ServerSettings settings;
    settings.listen = program.options.listen;
    settings.threads = program.options.threads ? program.options.threads : std::max(1u, std::thread::hardware_concurrency());
    HttpServer server(settings, [&routes](const Request& request) { return routes.Answer(request); });
    if (!server.Running()) {
        err << "kelmorven-serve: " << server.Error() << "\n";
        return kServeCannotListen;
    }
    program.baseUrl = BaseUrl(program.options, server.Port());
    err.flush();
    LogLine("kelmorven-serve: serving on " + BaseUrl(ServeOptions{program.options.listen, "", 0, {}, false, false},
                                                      server.Port()) + "/ (" + std::to_string(settings.threads) +
            " threads)");
    int signal = 0;
    sigwait(&stopping, &signal);
    LogLine("kelmorven-serve: stopping: no new connections, 5 s for the requests in flight");
    const bool finished = server.Drain(kServeGraceSeconds);
    LogLine(finished ? "kelmorven-serve: stopped" : "kelmorven-serve: stopped, cutting off requests still in flight");
    return kServeStopped;
}
