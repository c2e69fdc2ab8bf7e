#include "window_test_support.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

WindowLayer* shared = nullptr;

class LayerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { shared = new WindowLayer(); }
    void TearDown() override {
        delete shared;
        shared = nullptr;
        std::error_code error;
        std::filesystem::remove_all(TestFolder(), error);
    }
};

}  // namespace

WindowLayer& Layer() { return *shared; }

std::vector<int> TakeEventsUntilClose(int window) {
    Layer().SimulateCloseRequest(window);
    std::vector<int> controls;
    while (Layer().EventWait() != EventKind::CloseRequest) controls.push_back(Layer().EventControl());
    return controls;
}

std::filesystem::path TestFolder() {
    static std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("kelmorven_window_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WindowTest::SetUp() {
    w.WindowCloseAll();
    w.Test().pauseScale = 0.0;
    w.Test().onIdle = nullptr;
    w.Test().onMessage = nullptr;
}

void WindowTest::TearDown() { w.WindowCloseAll(); }

int main(int argc, char** argv) {
    // The same settings the test runner gives: no display, silent sound output.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LayerEnvironment);
    return RUN_ALL_TESTS();
}
