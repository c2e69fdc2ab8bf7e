// The file kelmorven-table writes for one place: a timetable document, or
// the year's moments as CSV, JSON or iCalendar.
#pragma once

#include "calc/year_result.h"
#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "table/table_options.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// Why the options cannot be carried out with the time zone timeZone (empty
// for the zone and summer-time rule), in one line; empty when they can. The
// documents keep the window program's rule, summer time comes from the zone
// itself, the zone must be in the database, and an iCalendar file needs a
// SOURCE_DATE_EPOCH, when it is set, of whole seconds.
std::string TimeBasisRefusal(const TableOptions& options, const std::string& timeZone);

// The file of the calculated year in the format of the options, as the
// tool writes it and the service sends it: the printed formats name place
// in their title.
OutputFile TableDocument(const TableOptions& options, const YearResult& year, const PrintedPlace& place = {});

// Writes the calculated year into folder in the format of the options.
// Data files are UTF-8 and, like the documents, replace an earlier file
// whole or leave it as it was. With a batch the file waits there for the
// batch's one sync. The outcome is false, with the reason, when the file
// cannot be written.
// The printed formats name place in their title.
WriteOutcome WriteTableFile(const TableOptions& options, const YearResult& year, const std::filesystem::path& folder,
                            FileBatch* batch = nullptr, const PrintedPlace& place = {});

// DTSTAMP of the calendar and creation date of the PDF: --today at 00:00 UTC; else SOURCE_DATE_EPOCH
// when set; else now. So the same inputs give the same bytes.
std::chrono::sys_seconds CalendarStamp(const TableOptions& options);

// The date a printed year marks as today: --today; else the date of
// SOURCE_DATE_EPOCH when set; else the machine's date.
std::optional<std::chrono::sys_days> PrintedToday(const TableOptions& options);
