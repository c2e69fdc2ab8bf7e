// One adapter per kind of control: how its text and its state are read and
// set, whether it is a stop of the focus order, whether it ends a run of
// option buttons, and what the tests' facts say of it. Adding a kind means
// one adapter here and one Add operation in controls.cpp.
#pragma once

#include "window/window_layer_testing.h"

#include <QString>

struct ControlEntry;

class ControlKind {
public:
    virtual ~ControlKind() = default;
    virtual const char* Name() const = 0;  // as the tests' facts give it
    virtual bool Focusable() const { return false; }     // a stop of Tab and Shift+Tab
    virtual bool EndsOptionRun() const { return true; }  // creating one ends a run of options
    virtual bool NotifiesFocus() const { return false; } // gaining or losing the focus is an event
    virtual QString Text(const ControlEntry&) const { return {}; }
    // False when the kind has no text (or state) to set: nothing changed.
    virtual bool SetText(ControlEntry&, const QString&) const { return false; }
    virtual int State(const ControlEntry&) const { return 0; }
    virtual bool SetState(ControlEntry&, int) const { return false; }
    // The kind's own facts: alignment, options, the room for its text.
    virtual void Describe(const ControlEntry&, WindowLayerTesting::ControlFacts&) const {}
};

const ControlKind& LabelAdapter();
const ControlKind& InputFieldAdapter();
const ControlKind& ButtonAdapter();
const ControlKind& CheckBoxAdapter();
const ControlKind& OptionAdapter();
const ControlKind& FrameAdapter();
const ControlKind& ProgressBarAdapter();
const ControlKind& LineListAdapter();
const ControlKind& SuggestionListAdapter();
const ControlKind& PictureAdapter();
