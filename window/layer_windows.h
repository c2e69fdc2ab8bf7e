// The window table of the layer: the program's top-level windows by number,
// the window that receives new controls, and the frames the window manager
// draws around them. windows.cpp owns it.
#pragma once

#include <QIcon>
#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QCloseEvent;

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

struct WindowTable {
    std::vector<QPointer<LayerWindow>> windows = std::vector<QPointer<LayerWindow>>(10);
    QPointer<LayerWindow> selected;  // parent of the controls created next
    QPointer<LayerWindow> current;   // the window opened last
    QIcon programIcon;               // made once, shown by every window
    // The frame last seen around a client area, for each frame kind (caption,
    // sizing border); the window manager draws each kind differently.
    std::map<unsigned, QMargins> frameMargins;

    static unsigned FrameKind(unsigned style);
    bool FrameKnown(unsigned style) const { return frameMargins.count(FrameKind(style)) != 0; }
    QMargins FrameFor(unsigned style) const;  // of that kind, else of any kind seen
    void NoteFrameMargins();
    QPoint CentredPosition(QSize client, unsigned style, QWidget* active) const;
    bool IsProgramWindow(const QWidget* window) const;
};
