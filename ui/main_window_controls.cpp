#include "ui/main_window_controls.h"

#include "input/field_text.h"
#include "ui/main_window.h"

#include <array>

namespace {

using T = TimetableSettings;

constexpr MainWindowControl Placed(ControlType type, int number, int x, int y, int width,
                                   int height, std::string_view caption = {}) {
    MainWindowControl c;
    c.type = type;
    c.number = number;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.caption = caption;
    return c;
}

constexpr MainWindowControl Label(int number, int x, int y, int width, int height,
                                  std::string_view text, Alignment alignment = Alignment::Left) {
    MainWindowControl c = Placed(ControlType::Label, number, x, y, width, height, text);
    c.alignment = alignment;
    return c;
}

constexpr MainWindowControl Field(int number, int x, int y, int width, int height,
                                  std::string T::*text, unsigned options = 0) {
    MainWindowControl c = Placed(ControlType::InputField, number, x, y, width, height);
    c.fieldText = text;
    c.options = options;
    return c;
}

constexpr MainWindowControl Option(int number, int x, int y, int width, int height,
                                   std::string_view text, int state = kNoInitialState) {
    MainWindowControl c = Placed(ControlType::Option, number, x, y, width, height, text);
    c.initialState = state;
    return c;
}

constexpr MainWindowControl CheckBox(int number, int x, int y, int width, int height,
                                     std::string_view text, int state) {
    MainWindowControl c = Placed(ControlType::CheckBox, number, x, y, width, height, text);
    c.initialState = state;
    return c;
}

constexpr MainWindowControl Frame(int number, int x, int y, int width, int height,
                                  std::string_view text) {
    return Placed(ControlType::Frame, number, x, y, width, height, text);
}

constexpr MainWindowControl ProgressBar(int number, int x, int y, int width, int height,
                                        int minimum, int maximum) {
    MainWindowControl c = Placed(ControlType::ProgressBar, number, x, y, width, height);
    c.minimum = minimum;
    c.maximum = maximum;
    return c;
}

// A command button: two-state, its caption may wrap.
constexpr MainWindowControl Command(int number, int x, int y, int width, int height,
                                    std::string_view text) {
    MainWindowControl c = Placed(ControlType::Button, number, x, y, width, height, text);
    c.options = kToggle | kMultiLine;
    return c;
}

}  // namespace

std::span<const MainWindowControl> MainWindowControls() {
    static const std::array table = {
        Field(kYearField, 150, 40, 70, 20, &T::yearText, kDigitsOnly),
        Label(1, 40, 40, 80, 20, "Input Year", Alignment::Centre),
        Label(4, 25, 120, 170, 20, "Summer Time Changes", Alignment::Centre),
        Label(5, 30, 160, 110, 20, "Input Name Town", Alignment::Right),
        Field(kTownField, 150, 160, 190, 20, &T::town, kUpperCase),
        Label(7, 40, 230, 80, 20, "Input Longitude"),
        Field(kLongitudeField, 150, 230, 70, 20, &T::longitudeText),
        Option(kEastOption, 240, 230, 47, 20, "east"),
        Option(kWestOption, 290, 230, 47, 20, "west", 1),
        Label(11, 40, 270, 100, 20, "Input Latitude"),
        Field(kLatitudeField, 150, 270, 70, 20, &T::latitudeText),
        Option(kNorthOption, 240, 270, 47, 20, "north", 1),
        Option(kSouthOption, 290, 270, 47, 20, "south"),
        Label(15, 40, 380, 110, 20, "Input Time Zone"),
        Field(kZoneField, 150, 380, 70, 20, &T::zoneText),
        CheckBox(kSummerTimeBox, 180, 110, 37, 30, "Yes", 0),
        // The degree sign is byte 176 of code page 1252.
        Label(18, 40, 310, 200, 20, "e.g. input 9.1750 ..means 9\xB0" "10'30''"),
        Label(24, 40, 330, 200, 20, "e.g. input 9.1030 ..means 9\xB0" "10'30''"),
        Option(kTenModeOption, 240, 310, 90, 20, " 10 - Mode"),
        Option(kSixtyModeOption, 240, 330, 90, 20, " 60 - Mode", 1),
        Frame(26, 30, 200, 310, 160, "geogr. Coordinates"),
        ProgressBar(kRunProgress, 30, 430, 720, 30, 1, 365),
        Command(kNewStartButton, 660, 140, 90, 40, "NEW START"),
        Command(kInfoButton, 660, 200, 90, 40, "INFO"),
        Command(kZoneMapButton, 660, 260, 90, 40, "ZONE MAP"),
        Command(kCalculateButton, 660, 320, 90, 40, "CALCULATE"),
        Command(kExitButton, 660, 380, 90, 40, "EXIT"),
        Option(kTextFileOption, 540, 330, 87, 15, " EDITOR.TXT", 1),
        Option(kRtfFileOption, 540, 350, 87, 15, " WORD.WRI"),
        Frame(28, 480, 30, 270, 90, "Comments"),
        Label(kAboutLine, 490, 50, 250, 20, kAboutText),
        Label(kStatusLine, 490, 70, 250, 20, ""),
        // Reaches beyond the window's right edge, which cuts its end.
        Label(kDocumentLine, 600, 90, 250, 20, ""),
        Frame(36, 520, 311, 125, 60, "editing format"),
    };
    return table;
}

std::string MainWindowFieldFilter(std::string_view cp1252, unsigned options) {
    return FieldEntry(cp1252, ((options & kDigitsOnly) ? kFieldDigitsOnly : 0u) | ((options & kUpperCase) ? kFieldCapitals : 0u));
}

void AddMainWindowControls(WindowLayer& w, const TimetableSettings& settings) {
    w.FieldFilterSet(MainWindowFieldFilter);
    for (const MainWindowControl& c : MainWindowControls()) {
        const std::string caption(c.caption);
        switch (c.type) {
        case ControlType::Label:
            w.LabelAdd(c.number, c.x, c.y, c.width, c.height, caption, c.alignment);
            break;
        case ControlType::InputField:
            w.InputFieldAdd(c.number, c.x, c.y, c.width, c.height, settings.*c.fieldText, c.options);
            break;
        case ControlType::Option:
            w.OptionAdd(c.number, c.x, c.y, c.width, c.height, caption);
            break;
        case ControlType::CheckBox:
            w.CheckBoxAdd(c.number, c.x, c.y, c.width, c.height, caption);
            break;
        case ControlType::Frame:
            w.FrameAdd(c.number, c.x, c.y, c.width, c.height, caption);
            break;
        case ControlType::ProgressBar:
            w.ProgressBarAdd(c.number, c.x, c.y, c.width, c.height, c.minimum, c.maximum);
            break;
        case ControlType::Button:
            w.ButtonAdd(c.number, c.x, c.y, c.width, c.height, caption, c.options);
            break;
        }
        if (c.initialState != kNoInitialState) w.ControlStateSet(c.number, c.initialState);
    }
}
