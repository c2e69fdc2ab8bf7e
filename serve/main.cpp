#include "serve/serve_run.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunServe(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
