// The tool's documents on their way to disk and their reports: one place at
// a time, or a batch at a time with one sync for many documents.
#pragma once

#include "calc/year_result.h"
#include "files/text_file.h"
#include "table/table_options.h"

#include <iosfwd>
#include <string>
#include <vector>

// Writes the file the options ask for (TOWN.TXT, TOWN.WRI, or the year's
// moments as CSV, JSON or iCalendar) of the calculated year into the out
// folder, or into batch.
// A printed format names place in its title.
WriteOutcome WriteTableDocument(const TableOptions& options, const YearResult& year, FileBatch* batch = nullptr,
                                const PrintedPlace& place = {});

// The path of the document of the year in the out folder (UTF-8).
std::string DocumentPath(const TableOptions& options, const YearResult& year);

// What the tool prints for a document written: its path, then the today
// line (UTF-8), each on a line.
std::string WrittenReport(const TableOptions& options, const YearResult& year, DateValue today);

// What it prints for a document that could not be written: "Attention !"
// with the path and the reason ("Attention ! out/ULM.TXT: No space left on
// device") and the message's text, each line after prefix.
std::string UnwritableReport(const std::string& prefix, const std::string& path, const WriteOutcome& outcome);

// The documents of a batch run: each is written into a FileBatch as its
// place is calculated, and a chunk of them goes on disk at once when the
// batch is full and at Finish. A place is reported once its document is on
// disk (on out) or has failed (on err).
class BatchDocuments {
public:
    BatchDocuments(const TableOptions& options, std::ostream& out, std::ostream& err);

    // The document of the calculated year. Its report waits for the
    // chunk's sync; a document that cannot even be written is reported now.
    void Add(const YearResult& year, DateValue today, const std::string& prefix, const PrintedPlace& place = {});
    // Puts the documents still waiting on disk. True when every document of
    // the run reached its name.
    bool Finish();

private:
    void Commit();

    struct Waiting {
        std::string prefix, path, report;
    };
    const TableOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    FileBatch batch_;
    std::vector<Waiting> waiting_;
    bool allWritten_ = true;
};
