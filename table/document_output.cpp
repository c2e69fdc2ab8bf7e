#include "table/document_output.h"

#include "documents/timetable_documents.h"
#include "documents/today_line.h"
#include "table/table_files.h"
#include "text/code_page.h"
#include "text/dates.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include <sys/resource.h>

namespace {

// A batch holds one descriptor per document waiting for the sync; a higher
// soft limit lets a whole run of places share one sync. Raised before the
// batch is made, whose capacity follows the limit; a limit that stays low
// only means more syncs.
FileBatch BatchWithRaisedLimit() {
    constexpr rlim_t kWanted = 4096;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < kWanted) {
        limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kWanted : std::min(kWanted, limit.rlim_max);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    return FileBatch();
}

}  // namespace

WriteOutcome WriteTableDocument(const TableOptions& options, const YearResult& year, FileBatch* batch,
                                const PrintedPlace& place) {
    return WriteTableFile(options, year, std::filesystem::path(options.outFolder), batch, place);
}

std::string DocumentPath(const TableOptions& options, const YearResult& year) {
    return ResolveInFolder(std::filesystem::path(options.outFolder), OutputFileName(*options.format, year.Settings()))
        .string();
}

std::string WrittenReport(const TableOptions& options, const YearResult& year, DateValue today) {
    return DocumentPath(options, year) + "\n" + Cp1252ToUtf8(TodayLine(year, today)) + "\n";
}

std::string UnwritableReport(const std::string& prefix, const std::string& path, const WriteOutcome& outcome) {
    return prefix + kCannotSaveTitle + " " + path + ": " + outcome.Reason() + "\n" + prefix + kCannotSaveText + "\n";
}

BatchDocuments::BatchDocuments(const TableOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err), batch_(BatchWithRaisedLimit()) {}

void BatchDocuments::Add(const YearResult& year, DateValue today, const std::string& prefix,
                         const PrintedPlace& place) {
    if (const WriteOutcome written = WriteTableDocument(options_, year, &batch_, place); !written) {
        err_ << UnwritableReport(prefix, DocumentPath(options_, year), written);
        allWritten_ = false;
        return;
    }
    waiting_.push_back({prefix, DocumentPath(options_, year), WrittenReport(options_, year, today)});
    if (batch_.Full()) Commit();
}

void BatchDocuments::Commit() {
    const std::vector<WriteOutcome> written = batch_.Commit();
    for (size_t i = 0; i < waiting_.size(); ++i) {
        if (written[i]) {
            out_ << waiting_[i].report;
        } else {
            err_ << UnwritableReport(waiting_[i].prefix, waiting_[i].path, written[i]);
            allWritten_ = false;
        }
    }
    waiting_.clear();
    out_.flush();  // the report follows the run chunk by chunk
}

bool BatchDocuments::Finish() {
    Commit();
    return allWritten_;
}
