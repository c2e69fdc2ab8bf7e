#include "ui_harness.h"

#include "files/text_file.h"
#include "tests/support/temp_folder.h"
#include "ui/start_up.h"
#include "ui/start_values.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace ui_test {

WindowLayer& SharedLayer() {
    // The sound library's silent output, also where the test runner's
    // environment does not name it.
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    // Never destroyed: the toolkit goes down with the process.
    static WindowLayer* layer = new WindowLayer();
    return *layer;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (!entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

fs::path FreshProgramFolder(const std::string& name) {
    fs::path folder = FreshFolder("ui_" + name);
    fs::create_directories(folder / "DatenE");
    return folder;
}

}  // namespace

Session::Session(const std::string& name, DateValue now)
    : w(SharedLayer()), t(w), program(w, FreshProgramFolder(name)) {
    program.clock = [now] { return now; };
    t.Test().pauseScale = 0.0;
    t.Test().onMessage = [this](const std::string& title, const std::string& text) {
        messages.push_back({title, text});
    };
    t.Test().onIdle = [this] { OnIdle(); };
}

Session::~Session() {
    t.Test().onIdle = nullptr;
    t.Test().onMessage = nullptr;
    w.WindowCloseAll();
    std::error_code error;
    fs::remove_all(program.folder, error);
}

void Session::WriteInfo(const std::vector<std::string>& lines) {
    std::ofstream out(Data() / "Info.txt", std::ios::binary);
    for (const std::string& line : lines) out << line << "\r\n";
}

void Session::CopyPicture(const std::string& name) {
    fs::copy_file(fs::path(KELMORVEN_UI_TEST_DATA) / "small.jpg", Data() / name,
                  fs::copy_options::overwrite_existing);
}

void Session::Check(std::function<void()> check) { script_.push_back({true, std::move(check)}); }
void Session::Act(std::function<void()> action) { script_.push_back({false, std::move(action)}); }
void Session::Click(int control) {
    Act([this, control] { t.SimulateClick(control); });
}
void Session::Type(int control, const std::string& text) {
    Act([this, control, text] { t.SimulateTyping(control, text); });
}
void Session::Retype(int control, const std::string& text) {
    Act([this, control, text] {
        constexpr int kKeyEnd = 0x01000011;  // the toolkit's key codes
        constexpr int kKeyBackspace = 0x01000003;
        t.SimulateTyping(control, "");  // gives the field the focus
        t.SimulateKey(kKeyEnd);
        for (size_t n = w.ControlTextGet(control).size(); n > 0; --n) t.SimulateKey(kKeyBackspace);
        t.SimulateTyping(control, text);
    });
}
void Session::Close(int window) {
    Act([this, window] { t.SimulateCloseRequest(window); });
}

void Session::OnIdle() {
    while (!script_.empty()) {
        Item item = std::move(script_.front());
        script_.pop_front();
        item.fn();
        if (!item.isCheck) return;
    }
    // Script done: close whatever waits, up to the main window.
    ++overruns;
    if (overruns == 20) ADD_FAILURE() << "the program does not end after its script";
    if (overruns > 100) std::abort();
    t.SimulateCloseRequest(kMainWindow);
}

int Session::RunWholeProgram() {
    const int code = RunProgram(program);
    ExpectScriptDone();
    return code;
}

void Session::RunMainWindow() {
    if (BuildMainWindow(program)) RunMainLoop(program);
    ExpectScriptDone();
}

void Session::ExpectScriptDone() {
    EXPECT_TRUE(script_.empty()) << "the program ended with " << script_.size()
                                 << " steps of its script still to come";
}

void Session::RunMainWindowFromStart() {
    PrepareStartValues(program);
    RunMainWindow();
}

}  // namespace ui_test
