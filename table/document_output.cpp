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
// soft limit lets a whole run of places share one sync.
bool RaiseOpenFileLimit() {
    constexpr rlim_t kWanted = 4096;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= kWanted) return false;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kWanted : std::min(kWanted, limit.rlim_max);
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

}  // namespace

WriteOutcome WriteTableDocument(const TableOptions& options, const YearResult& year, TextFileBatch* batch,
                                const std::string& country) {
    return WriteTableFile(options, year, std::filesystem::path(options.outFolder), batch, country);
}

std::string WrittenReport(const TableOptions& options, const YearResult& year, DateValue today) {
    return ResolveInFolder(std::filesystem::path(options.outFolder), OutputFileName(*options.format, year.Settings()))
               .string() +
           "\n" + Cp1252ToUtf8(TodayLine(year, today)) + "\n";
}

std::string UnwritableReport(const std::string& prefix, const WriteOutcome& outcome) {
    return prefix + kCannotSaveTitle + " " + outcome.Reason() + "\n" + prefix + kCannotSaveText + "\n";
}

BatchDocuments::BatchDocuments(const TableOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err), limitRaised_(RaiseOpenFileLimit()) {}

void BatchDocuments::Add(const YearResult& year, DateValue today, const std::string& prefix,
                         const std::string& country) {
    if (const WriteOutcome written = WriteTableDocument(options_, year, &batch_, country); !written) {
        err_ << UnwritableReport(prefix, written);
        allWritten_ = false;
        return;
    }
    waiting_.push_back({prefix, WrittenReport(options_, year, today)});
    if (batch_.Full()) Commit();
}

void BatchDocuments::Commit() {
    const std::vector<WriteOutcome> written = batch_.Commit();
    for (size_t i = 0; i < waiting_.size(); ++i) {
        if (written[i]) {
            out_ << waiting_[i].report;
        } else {
            err_ << UnwritableReport(waiting_[i].prefix, written[i]);
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
