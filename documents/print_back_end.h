// The printing back end (PDF, SVG): the module kelmorven_print.so beside the
// program, opened at run time, so that the toolkit it paints with is loaded
// only by a run that prints.
#pragma once

#include "print/printed_year.h"

#include <cstddef>
#include <string>

// What the module offers under the name KelmorvenPrintEntries: the two
// documents of print/year_documents.h and the session of print/print_session.h.
// The year crosses by reference, so both sides must have been built from the
// same PrintedYear: abi and printedYearSize say whether they were.
struct PrintModuleEntries {
    int abi;                      // kPrintModuleAbi of the module's build
    std::size_t printedYearSize;  // sizeof(PrintedYear) there
    std::string (*yearPdf)(const PrintedYear&);
    std::string (*yearChartSvg)(const PrintedYear&);
    void* (*startSession)();
    void (*endSession)(void* session);
};
inline constexpr int kPrintModuleAbi = 1;
inline constexpr char kPrintModuleFile[] = "kelmorven_print.so";

// The back end opened and its toolkit started for as long as this lives: a
// program holds one while it prints, and the documents of a batch share it.
class PrintBackEnd {
public:
    PrintBackEnd();  // opens the module in ProgramFolder(); when it cannot, Ready() is false
    ~PrintBackEnd();
    PrintBackEnd(const PrintBackEnd&) = delete;
    PrintBackEnd& operator=(const PrintBackEnd&) = delete;

    bool Ready() const { return entries_ != nullptr; }
    // Why the module could not be opened: its path and the reason.
    const std::string& Error() const { return error_; }

private:
    void* module_ = nullptr;
    const PrintModuleEntries* entries_ = nullptr;
    void* session_ = nullptr;
    std::string error_;
};

// The files' bytes, drawn by the back end a PrintBackEnd holds open; with
// none alive they throw std::logic_error.
std::string BackEndYearPdf(const PrintedYear& year);
std::string BackEndYearChartSvg(const PrintedYear& year);
