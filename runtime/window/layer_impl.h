// The state behind WindowLayer: window, control, picture and sound tables,
// the event queue and the input held back for the next EventWait. Internal to
// runtime/window; the toolkit types live only here and in the .cpp files.
#pragma once

#include "runtime/window/picture_decoder.h"
#include "runtime/window/window_layer.h"
#include "runtime/window/window_layer_testing.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <QApplication>
#include <QButtonGroup>
#include <QIcon>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;

class ControlKind;  // control_kinds.h

// A top-level window of the program. Its close box never closes it: it only
// reports a close request, and the program decides.
class LayerWindow : public QWidget {
public:
    explicit LayerWindow(std::function<void(LayerWindow*)> onCloseRequest);

    // A centred window opened before a frame of its own kind was known is
    // placed again, once, when its own frame becomes known.
    unsigned style = 0;
    unsigned centring = 0;
    bool centringPending = false;
    QPointer<QWidget> centredOn;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void(LayerWindow*)> onCloseRequest_;
};

struct ControlEntry {
    QPointer<QWidget> widget;  // null once its window has closed
    const ControlKind* kind = nullptr;  // never null for a created control
    QPointer<QWidget> window;
    std::uint64_t sequence = 0;  // creation order, for the focus order
    bool toggle = false;
    bool multiLine = false;
    QString caption;  // a button's caption before wrapping
};

struct QueuedEvent {
    EventKind kind;
    int control;
    QPointer<QWidget> window;  // input for a closed window dies with it
};

struct HeldInput {
    std::function<void()> deliver;
    QPointer<QWidget> window;
};

struct PictureSlot {
    bool held = false;
    QImage image;
    int width = 0;
    int height = 0;
    int depth = 0;
};

struct SoundEntry {
    ALuint buffer = 0;
    ALuint source = 0;
    bool held = false;
};

struct LayerState;

// Sees every event of the application: Tab and Shift+Tab in program windows.
class LayerEventFilter : public QObject {
public:
    explicit LayerEventFilter(LayerState& layer) : layer_(layer) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LayerState& layer_;
};

struct LayerState {
    // The toolkit keeps a reference to argc: it lives as long as the application.
    int argc = 1;
    char programName[16] = "kelmorven";
    char* argv[2] = {programName, nullptr};
    std::unique_ptr<QApplication> ownApplication;
    std::unique_ptr<LayerEventFilter> filter;

    std::vector<QPointer<LayerWindow>> windows = std::vector<QPointer<LayerWindow>>(10);
    QPointer<LayerWindow> selected;  // parent of the controls created next
    QPointer<LayerWindow> current;   // the window opened last
    QIcon programIcon;               // made once, shown by every window
    // The frame last seen around a client area, for each frame kind (caption,
    // sizing border); the window manager draws each kind differently.
    std::map<unsigned, QMargins> frameMargins;
    static unsigned FrameKind(unsigned style) { return style & (kCaptionWithClose | kSizable); }
    bool FrameKnown(unsigned style) const { return frameMargins.count(FrameKind(style)) != 0; }
    QMargins FrameFor(unsigned style) const;  // of that kind, else of any kind seen

    std::vector<ControlEntry> controls = std::vector<ControlEntry>(30);
    std::uint64_t nextSequence = 1;
    QPointer<QButtonGroup> optionGroup;  // the open run of OptionAdd calls

    std::deque<QueuedEvent> events;
    std::deque<HeldInput> heldInput;
    int lastControl = -1;
    WindowLayerTesting::Options testing;

    std::vector<PictureSlot> pictures = std::vector<PictureSlot>(10);
    std::vector<std::unique_ptr<PictureDecoder>> decoders;
    bool jpegRegistered = false;

    ALCdevice* soundDevice = nullptr;
    ALCcontext* soundContext = nullptr;
    std::vector<SoundEntry> sounds = std::vector<SoundEntry>(50);
    std::vector<SoundEntry> orphanSounds;  // from dropped tables, playing on

    // Controls.
    ControlEntry* Entry(int number);
    const ControlEntry* Entry(int number) const;
    QWidget* Live(int number) const;  // the control's widget, null when none
    QWidget* NewControlParent();
    void Register(int number, QWidget* widget, const ControlKind& kind);
    void EndOptionRun() { optionGroup = nullptr; }

    // Events.
    void Queue(EventKind kind, int control, QWidget* window);
    void Hold(QWidget* window, std::function<void()> deliver);
    // Holds user input that the platform hands over while an earlier event
    // or earlier input still waits, so that each is acted on in its turn.
    bool HoldBack(QObject* receiver, QEvent* event);
    bool IsProgramWindow(const QWidget* window) const;
    void NoteFrameMargins();
    QPoint CentredPosition(QSize client, unsigned style, QWidget* active) const;
    void MoveFocus(QWidget* window, bool backward);
    int ControlOf(const QWidget* widget) const;

    // Waits ms milliseconds handling only non-input events, so that windows
    // stay painted and user input stays queued.
    void WaitWithoutInput(double milliseconds);

    // Sounds.
    bool OpenSoundDevice();
    static void ReleaseSound(SoundEntry& sound);
    void ReapOrphanSounds();
    void ReleaseSounds();
};

struct WindowLayer::Impl : LayerState {};
