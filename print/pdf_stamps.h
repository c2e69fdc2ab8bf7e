// What would make two PDFs of the same year differ: the creation time the
// writer takes from the clock.
#pragma once

#include <cstdint>
#include <string>

// The PDF with its creation date set to created (seconds since 1970 UTC),
// written in place of the clock's at the same length, so that the
// cross-reference table stays true. A date that would not fit (a year
// beyond 9999) leaves the clock's.
std::string FixedPdfStamps(std::string pdf, int64_t created);
