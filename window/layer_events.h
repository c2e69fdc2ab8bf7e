// The event queue of the layer: events for the program, and user input held
// back until the events before it have been taken. events.cpp owns it.
#pragma once

#include "window/window_layer.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <deque>
#include <functional>

struct QueuedEvent {
    EventKind kind;
    int control;
    QPointer<QWidget> window;  // input for a closed window dies with it
};

struct HeldInput {
    std::function<void()> deliver;
    QPointer<QWidget> window;
};

struct EventQueue {
    std::deque<QueuedEvent> events;
    std::deque<HeldInput> heldInput;
    int lastControl = -1;

    void Queue(EventKind kind, int control, QWidget* window);
    void Hold(QWidget* window, std::function<void()> deliver);
    void DropFor(const QWidget* window);  // what is queued or held for a closing window
};

struct LayerState;

// Sees every event of the application: Tab and Shift+Tab in program windows,
// the focus notifications of input fields, and input to be held back.
class LayerEventFilter : public QObject {
public:
    explicit LayerEventFilter(LayerState& layer) : layer_(layer) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LayerState& layer_;
};
