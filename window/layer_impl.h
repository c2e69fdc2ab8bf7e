// The state behind WindowLayer, one table per concern: windows
// (layer_windows.h), controls (layer_controls.h), events (layer_events.h),
// pictures (layer_pictures.h) and sounds (layer_sounds.h), each owned by its
// own .cpp file; here only what joins them. Internal to runtime/window; the
// toolkit types live only in these headers and the .cpp files.
#pragma once

#include "window/layer_controls.h"
#include "window/layer_events.h"
#include "window/layer_pictures.h"
#include "window/layer_sounds.h"
#include "window/layer_windows.h"
#include "window/window_layer.h"
#include "window/window_layer_testing.h"

#include <QApplication>

#include <memory>

struct LayerState : WindowTable, ControlTable, EventQueue, PictureTable, SoundTable {
    // The toolkit keeps a reference to argc: it lives as long as the application.
    int argc = 1;
    char programName[16] = "kelmorven";
    char* argv[2] = {programName, nullptr};
    std::unique_ptr<QApplication> ownApplication;
    std::unique_ptr<LayerEventFilter> filter;
    WindowLayerTesting::Options testing;

    QWidget* NewControlParent() { return selected.data(); }
    // Holds user input that the platform hands over while an earlier event
    // or earlier input still waits, so that each is acted on in its turn.
    bool HoldBack(QObject* receiver, QEvent* event);
    // Waits ms milliseconds handling only non-input events, so that windows
    // stay painted and user input stays queued.
    void WaitWithoutInput(double milliseconds);
};

struct WindowLayer::Impl : LayerState {};
