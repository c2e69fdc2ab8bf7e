// A promise a fuzz target checks: a broken one ends the run, and libFuzzer
// keeps the input that broke it.
#pragma once

#include <cstdlib>

inline void Require(bool condition) {
    if (!condition) std::abort();
}
