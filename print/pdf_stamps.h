// What would make two PDFs of the same year differ: the creation time the
// writer takes from the clock, in the machine's time zone.
#pragma once

#include <cstdint>
#include <string>

// The PDF with its creation date set to created (seconds since 1970 UTC),
// written in UTC ("D:20260517010203Z") in place of the clock's whatever its
// length, the cross-reference table and startxref moved to match. A date
// beyond 9999, or a file whose table is not the writer's plain one, leaves
// the PDF as it was.
std::string FixedPdfStamps(std::string pdf, int64_t created);
