// What the tests of the window layer and of the window program may do and
// see beyond the program's own operations: input given as a user gives it,
// and the facts of windows, controls, pictures and sounds. Only tests
// include this header; the program sees just window_layer.h.
#pragma once

#include "window/window_layer.h"

#include <functional>
#include <string>

class WindowLayerTesting {
public:
    explicit WindowLayerTesting(WindowLayer& layer) : layer_(layer) {}

    struct Options {
        // Every Pause and tone lasts this share of its time (0: returns at once).
        double pauseScale = 1.0;
        // Called when EventWait has nothing queued; it should queue input
        // (through the Simulate calls) or the wait goes on for real input.
        std::function<void()> onIdle;
        // When set, MessageShow calls it and returns without showing a box.
        std::function<void(const std::string& title, const std::string& text)> onMessage;
    };
    Options& Test();

    // Queue real input as a user would give it, to be taken by EventWait.
    void SimulateClick(int control);
    void SimulateTyping(int control, const std::string& cp1252Text);
    void SimulateKey(int key, bool shift = false);  // key: a toolkit key code, to the focus
    void SimulateCloseRequest(int window);

    // What a test may look at.
    bool WindowIsOpen(int number) const;
    std::string WindowTitle(int number) const;
    struct WindowPlace {
        int x = 0, y = 0;           // outer frame on the screen
        int width = 0, height = 0;  // client area
    };
    WindowPlace WindowGeometry(int number) const;  // all 0 when not open
    struct ControlFacts {
        bool live = false;  // false for a number without a live control
        std::string kind;   // "label", "input field", "button", "check box", "option",
                            // "frame", "progress bar", "line list", "suggestion list"
                            // or "picture"
        int x = 0, y = 0, width = 0, height = 0;  // in its window's client area
        Alignment alignment = Alignment::Left;    // of a label's text
        unsigned options = 0;                     // FieldOption or ButtonOption bits
        int textWidth = 0;  // pixels the widest line of the shown text takes
        int textRoom = 0;   // pixels the control gives its text
        bool shown = false;  // visible in its window
        int fontPixels = 0;  // pixel size of the font the control shows its text in
    };
    ControlFacts ControlGeometry(int number) const;
    int FocusedControl() const;  // -1 when none
    int LineListCount(int number) const;
    std::string LineListText(int number, int row) const;
    bool SaveScreenshot(int window, const std::string& pngPath) const;
    struct PictureFacts {
        bool held = false;  // false for an empty slot or one beyond the table
        int width = 0;
        int height = 0;
        int depth = 0;  // bits per pixel
    };
    PictureFacts PictureInSlot(int slot) const;
    int SoundSlotCount() const;  // size of the current sound table
    bool SoundHeld(int slot) const;

private:
    WindowLayer& layer_;
};
