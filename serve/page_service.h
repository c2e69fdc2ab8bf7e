// The web page's rows in kelmorven-serve's route table: "/" (replacing the
// page of links), "/find", "/coordinates", "/place" and the page's files.
#pragma once

#include "serve/route_table.h"
#include "serve/serve_program.h"

// Adds the page's rows to routes; the handlers keep a reference to program,
// whose data must be loaded already.
void AddPageRoutes(RouteTable& routes, ServeProgram& program);
