#include "window_test_support.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

WindowLayer* shared = nullptr;
WindowLayerTesting* sharedTesting = nullptr;

class LayerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        shared = new WindowLayer();
        sharedTesting = new WindowLayerTesting(*shared);
    }
    void TearDown() override {
        delete sharedTesting;
        sharedTesting = nullptr;
        delete shared;
        shared = nullptr;
        std::error_code error;
        std::filesystem::remove_all(TestFolder(), error);
    }
};

}  // namespace

WindowLayer& Layer() { return *shared; }
WindowLayerTesting& Testing() { return *sharedTesting; }

std::vector<int> TakeEventsUntilClose(int window) {
    Testing().SimulateCloseRequest(window);
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
    t.Test().pauseScale = 0.0;
    t.Test().onIdle = nullptr;
    t.Test().onMessage = nullptr;
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
