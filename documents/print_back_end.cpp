#include "documents/print_back_end.h"

#include "files/text_file.h"

#include <stdexcept>

#include <dlfcn.h>

namespace {

std::string ModulePath() { return (ProgramFolder() / kPrintModuleFile).string(); }

// dlerror() names the file first; the message names it already.
std::string OpenFailure(const std::string& path) {
    const char* reason = ::dlerror();
    std::string text = reason ? reason : "unknown reason";
    if (text.rfind(path + ": ", 0) == 0) text.erase(0, path.size() + 2);
    return text;
}

// The module's entries when it was built with this program, else nullptr.
const PrintModuleEntries* EntriesOf(void* module) {
    using EntriesFunction = const PrintModuleEntries* (*)();
    auto* entries = reinterpret_cast<EntriesFunction>(::dlsym(module, "KelmorvenPrintEntries"));
    const PrintModuleEntries* offered = entries ? entries() : nullptr;
    if (!offered || offered->abi != kPrintModuleAbi || offered->printedYearSize != sizeof(PrintedYear)) return nullptr;
    return offered;
}

// The entries of a module already opened by a PrintBackEnd, else nullptr.
const PrintModuleEntries* OpenedEntries() {
    void* module = ::dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (!module) return nullptr;
    const PrintModuleEntries* entries = EntriesOf(module);
    ::dlclose(module);  // only the reference just taken: the back end keeps its own
    return entries;
}

const PrintModuleEntries& Opened() {
    const PrintModuleEntries* entries = OpenedEntries();
    if (!entries) throw std::logic_error("the printed formats are drawn only while a PrintBackEnd is open");
    return *entries;
}

}  // namespace

PrintBackEnd::PrintBackEnd() {
    const std::string path = ModulePath();
    // Never unloaded: the toolkit it brings does not expect to leave before the program.
    module_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module_) {
        error_ = "the printing module " + path + " cannot be opened (" + OpenFailure(path) +
                 "); PDF and SVG are drawn by it";
        return;
    }
    entries_ = EntriesOf(module_);
    if (!entries_) {
        error_ = "the printing module " + path + " belongs to another build of the program";
        return;
    }
    session_ = entries_->startSession();
}

PrintBackEnd::~PrintBackEnd() {
    if (entries_) entries_->endSession(session_);
    if (module_) ::dlclose(module_);
}

std::string BackEndYearPdf(const PrintedYear& year) { return Opened().yearPdf(year); }

std::string BackEndYearChartSvg(const PrintedYear& year) { return Opened().yearChartSvg(year); }
