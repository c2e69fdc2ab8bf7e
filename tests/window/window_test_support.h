// What the window layer's tests share: one layer for the whole process, a
// fixture that starts every test without windows, and small file helpers.
#pragma once

#include "window/window_layer_testing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

WindowLayer& Layer();
WindowLayerTesting& Testing();  // the hooks into the same layer

// Queues a close request behind everything queued so far and takes events
// until it arrives: returns the controls of the control events on the way.
std::vector<int> TakeEventsUntilClose(int window);

std::filesystem::path TestFolder();
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    WindowLayer& w = Layer();
    WindowLayerTesting& t = Testing();
};
