// The numbered window layer: windows, controls, events, messages, pauses,
// sounds and pictures, known by small numbers the program chooses. The
// program talks only to this layer; the toolkit stays behind it.
//
// Texts are code page 1252 bytes in both directions. Positions and sizes are
// pixels; a window's x, y place its outer frame, its width and height are
// those of the client area; a control's x, y are relative to the client area.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

enum class EventKind {
    CloseRequest,  // close box, system menu close or Alt+F4 of any program window
    ControlEvent,  // see EventControl
    Other,         // anything the program ignores
};

// Window styles, combined with |.
enum WindowStyle : unsigned {
    kCaptionWithClose = 1u << 0,  // title bar with icon, system menu and close box only
    kSizable = 1u << 1,
    kCentredOnScreen = 1u << 2,
    kCentredOnActive = 1u << 3,
    kHidden = 1u << 4,
};

enum class Alignment { Left, Centre, Right };

// Input field options, combined with |.
enum FieldOption : unsigned {
    kDigitsOnly = 1u << 0,  // any other typed character is refused
    kUpperCase = 1u << 1,   // typed letters become capitals (ß stays ß)
};

// Button options, combined with |.
enum ButtonOption : unsigned {
    kToggle = 1u << 0,     // each click flips a pressed and a released look
    kMultiLine = 1u << 1,  // the caption may wrap
};

class WindowLayer {
public:
    // Needs nothing running; creates the toolkit's application object when
    // there is none yet. One layer per process.
    WindowLayer();
    ~WindowLayer();  // releases sounds and closes every window, highest number first
    WindowLayer(const WindowLayer&) = delete;
    WindowLayer& operator=(const WindowLayer&) = delete;

    // False when no display can be opened (the layer is then unusable).
    static bool DisplayAvailable();

    // Windows.
    bool WindowOpen(int number, int x, int y, int width, int height, unsigned style,
                    const std::string& title);
    void WindowClose(int number);
    void WindowCloseAll();  // from the highest number down to 0
    bool WindowSelectForControls(int number);

    // Events: one at a time from all of the program's windows.
    EventKind EventWait();
    int EventControl() const;

    // Controls, in the window selected for controls, under program-wide numbers.
    void LabelAdd(int number, int x, int y, int width, int height, const std::string& text,
                  Alignment alignment = Alignment::Left);
    void InputFieldAdd(int number, int x, int y, int width, int height, const std::string& text,
                       unsigned options = 0);
    void ButtonAdd(int number, int x, int y, int width, int height, const std::string& text,
                   unsigned options = 0);
    void CheckBoxAdd(int number, int x, int y, int width, int height, const std::string& text);
    void OptionAdd(int number, int x, int y, int width, int height, const std::string& text);
    void FrameAdd(int number, int x, int y, int width, int height, const std::string& text);
    void ProgressBarAdd(int number, int x, int y, int width, int height, int minimum,
                        int maximum);
    void LineListAdd(int number, int x, int y, int width, int height);
    // Shows picture slot at (x, y) at the picture's own size; width and height
    // are not applied.
    void PictureAdd(int number, int x, int y, int width, int height, int slot);

    std::string ControlTextGet(int number) const;
    void ControlTextSet(int number, const std::string& text);  // shown at once
    int ControlStateGet(int number) const;
    void ControlStateSet(int number, int state);                // shown at once
    void LineListAppend(int number, const std::string& text);

    // Modal box: the title, the text wrapped, one OK button, no icon.
    void MessageShow(const std::string& title, const std::string& text);

    bool KeyboardInit();
    // Returns after ms milliseconds; user input meanwhile waits, in order,
    // for the next EventWait, while the windows stay painted.
    void Pause(int milliseconds);
    std::string UserName();

    // Pictures.
    void RegisterJpegDecoder();  // a second call has no effect
    bool PictureLoad(int slot, const std::filesystem::path& file);  // a relative one in the program folder

    // Sounds. No sound device means silence, never an error.
    bool SoundInit();
    bool SoundLoad(int slot, const std::filesystem::path& file);  // a RIFF WAV; a relative one in the program folder
    void SoundPlay(int slot, int loop);
    void ToneBeep(int frequency, int milliseconds);
    void SoundRelease();

    // Test support, never used by the program itself.
    struct Testing {
        // Every Pause and tone lasts this share of its time (0: returns at once).
        double pauseScale = 1.0;
        // Called when EventWait has nothing queued; it should queue input
        // (through the Simulate calls) or the wait goes on for real input.
        std::function<void()> onIdle;
        // When set, MessageShow calls it and returns without showing a box.
        std::function<void(const std::string& title, const std::string& text)> onMessage;
    };
    Testing& Test();
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
                            // "frame", "progress bar", "line list" or "picture"
        int x = 0, y = 0, width = 0, height = 0;  // in its window's client area
        Alignment alignment = Alignment::Left;    // of a label's text
        unsigned options = 0;                     // FieldOption or ButtonOption bits
        int textWidth = 0;  // pixels the widest line of the shown text takes
        int textRoom = 0;   // pixels the control gives its text
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
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
