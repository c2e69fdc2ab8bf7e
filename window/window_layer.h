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
#include <string_view>

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
    // The size of the texts of the window's controls. Without either, the
    // desktop's normal interface size, as in message boxes.
    kCompactText = 1u << 5,  // a narrow 10-pixel font, for controls laid out for it
    kLargeText = 1u << 6,    // a few characters to be read from across a room
};

enum class Alignment { Left, Centre, Right };

// Input field options, combined with |.
enum FieldOption : unsigned {
    kDigitsOnly = 1u << 0,  // any other typed character is refused
    kUpperCase = 1u << 1,   // typed letters become capitals (ß stays ß)
};

// What of a code page 1252 text may enter an input field with these
// options (FieldOption bits): the program's rule, handed down to the layer.
using FieldFilter = std::function<std::string(std::string_view cp1252, unsigned options)>;

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

    // The name of the program's desktop entry, without ".desktop", by which
    // the desktop matches its windows to the entry (icon, grouping, a pinned
    // favourite): on Wayland the windows' app_id. Before the first window.
    static void SetDesktopEntry(const std::string& id);

    // Windows.
    bool WindowOpen(int number, int x, int y, int width, int height, unsigned style,
                    const std::string& title);
    void WindowClose(int number);
    void WindowCloseAll();  // from the highest number down to 0
    bool WindowSelectForControls(int number);

    // Events: one at a time from all of the program's windows.
    EventKind EventWait();
    int EventControl() const;

    // The rule of every input field, those made before included; without
    // one every character a field can show enters it.
    void FieldFilterSet(FieldFilter filter);

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
    // A list of suggestions for the input field `field`, at (x, y) in the
    // field's window: width pixels wide, at most height pixels high and
    // shorter when its lines need less. ControlTextSet gives its lines, one
    // a line feed, a tab between columns; they show while the field has the
    // focus, and the empty text closes the list. The list is no stop of the
    // focus order and never takes the focus: while it shows, Down and Up in
    // the field mark a line, Return chooses the marked one, Escape closes the
    // list; a click chooses a line. Choosing raises a ControlEvent of the
    // list, whose state then is the chosen line counted from 1 (0: none
    // chosen from these lines). Choosing, Escape and the field losing the
    // focus close the list and drop its lines; other keys go to the field.
    void SuggestionListAdd(int number, int x, int y, int width, int height, int field);
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
    bool PictureLoad(int slot, const std::filesystem::path& file);  // the program resolves the name in its folder

    // Sounds. No sound device means silence, never an error.
    bool SoundInit();
    bool SoundLoad(int slot, const std::filesystem::path& file);  // a RIFF WAV, named as for PictureLoad
    void SoundPlay(int slot, int loop);
    void ToneBeep(int frequency, int milliseconds);
    void SoundRelease();

private:
    friend class WindowLayerTesting;  // the tests' hooks, window_layer_testing.h
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
