// The control table of the layer: every control under its program-wide
// number, in the order of creation, and the open run of option buttons.
// controls.cpp owns it; control_kinds.h says how each kind behaves.
#pragma once

#include <QButtonGroup>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "window/window_layer.h"

#include <cstdint>
#include <vector>

class ControlKind;

struct ControlEntry {
    QPointer<QWidget> widget;  // null once its window has closed
    const ControlKind* kind = nullptr;  // never null for a created control
    QPointer<QWidget> window;
    std::uint64_t sequence = 0;  // creation order, for the focus order
    bool toggle = false;
    bool multiLine = false;
    QString caption;  // a button's caption before wrapping
};

struct ControlTable {
    std::vector<ControlEntry> controls = std::vector<ControlEntry>(30);
    std::uint64_t nextSequence = 1;
    QPointer<QButtonGroup> optionGroup;  // the open run of OptionAdd calls
    FieldFilter fieldFilter;             // what enters an input field

    ControlEntry* Entry(int number);
    const ControlEntry* Entry(int number) const;
    QWidget* Live(int number) const;  // the control's widget, null when none
    void Register(int number, QWidget* widget, const ControlKind& kind);
    void EndOptionRun() { optionGroup = nullptr; }
    int ControlOf(const QWidget* widget) const;  // -1 when it is no control
    // Tab and Shift+Tab: the next or previous focus stop of the window.
    void MoveFocus(QWidget* window, bool backward);
};
