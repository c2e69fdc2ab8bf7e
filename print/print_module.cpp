// The module's one visible symbol: its entries for documents/print_back_end.cpp.
#include "documents/print_back_end.h"
#include "print/print_session.h"
#include "print/year_documents.h"

namespace {

void* StartSession() { return new PrintSession; }

void EndSession(void* session) { delete static_cast<PrintSession*>(session); }

constexpr PrintModuleEntries kEntries{kPrintModuleAbi, sizeof(PrintedYear), &YearPdf, &YearChartSvg,
                                      &StartSession, &EndSession};

}  // namespace

extern "C" __attribute__((visibility("default"))) const PrintModuleEntries* KelmorvenPrintEntries() {
    return &kEntries;
}
