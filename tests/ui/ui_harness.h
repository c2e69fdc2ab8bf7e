// Drives the window program through the real window layer, offscreen and
// without pauses: a script of checks and user actions, played one action
// whenever the program waits for input.
#pragma once

#include "window/window_layer_testing.h"
#include "tests/support/file_contents.h"
#include "ui/main_window.h"
#include "ui/program.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ui_test {

// One layer for the whole test program, as for the real one.
WindowLayer& SharedLayer();

struct Message {
    std::string title;
    std::string text;
};

std::vector<std::string> FilesIn(const std::filesystem::path& folder);  // sorted, no folders

class Session {
public:
    // A program whose folder is a fresh temporary folder with an empty
    // DatenE, on the day and at the time given.
    explicit Session(const std::string& name, DateValue now = MakeDate(2004, 3, 14, 9, 5, 7));
    ~Session();

    WindowLayer& w;
    WindowLayerTesting t;  // the hooks into w
    Program program;
    std::vector<Message> messages;

    std::filesystem::path Data() const { return program.folder / "DatenE"; }
    void WriteInfo(const std::vector<std::string>& lines);  // DatenE/Info.txt, CR LF lines
    void CopyPicture(const std::string& name);              // the test picture as DatenE/<name>

    // A check runs at the next wait, before the next action; an action must
    // queue input. When the script is done, the program is closed.
    void Check(std::function<void()> check);
    void Act(std::function<void()> action);
    // Shorthands for actions.
    void Click(int control);
    void Type(int control, const std::string& text);
    // Empties the field with End and Backspace, then types the text.
    void Retype(int control, const std::string& text);
    void Close(int window);

    // Start-up to the end, as the program runs.
    int RunWholeProgram();
    // The main window from the settings as they stand, and its loop.
    void RunMainWindow();
    // Start values, then the main window and its loop, without the greeting.
    void RunMainWindowFromStart();

    // Idle rounds in which the script had nothing more to do.
    int overruns = 0;

private:
    void OnIdle();
    void ExpectScriptDone();
    struct Item {
        bool isCheck;
        std::function<void()> fn;
    };
    std::deque<Item> script_;
};

// Bern, 7°26'40'' east, 46°56'50'' north, zone 1 with summer time, typed as a user would.
inline void TypeBern(Session& s) {
    s.Type(kTownField, "bern");
    s.Type(kLongitudeField, "7.2640");
    s.Type(kLatitudeField, "46.5650");
    s.Retype(kZoneField, "1");
    s.Click(kEastOption);
    s.Click(kSummerTimeBox);
}

}  // namespace ui_test
