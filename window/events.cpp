// Events: one at a time from all program windows, the layer's own Tab and
// Shift+Tab, and the input tests hand in as a user would give it.
#include "window/control_kinds.h"
#include "window/layer_impl.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QWindow>

#include <algorithm>
#include <memory>

void EventQueue::Queue(EventKind kind, int control, QWidget* window) {
    events.push_back(QueuedEvent{kind, control, window});
}

void EventQueue::Hold(QWidget* window, std::function<void()> deliver) {
    if (!window) return;
    heldInput.push_back(HeldInput{std::move(deliver), window});
}

void EventQueue::DropFor(const QWidget* window) {
    std::erase_if(events, [window](const QueuedEvent& e) { return e.window == window; });
    std::erase_if(heldInput, [window](const HeldInput& h) { return h.window == window; });
}

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease: return true;
        default: return false;
    }
}

}  // namespace

// The toolkit hands over all the input it has at once; one click must not
// change an option before the program has taken an earlier click's event.
// Input reaches a window first as the platform's event (spontaneous); it is
// held there and given again, unchanged, when its turn comes.
bool LayerState::HoldBack(QObject* receiver, QEvent* event) {
    if (!event->spontaneous() || !receiver->isWindowType() || !IsUserInput(event->type())) return false;
    if (events.empty() && heldInput.empty()) return false;
    QPointer<QWindow> platformWindow = static_cast<QWindow*>(receiver);
    QWidget* window = nullptr;
    for (const QPointer<LayerWindow>& open : windows)
        if (open && open->windowHandle() == platformWindow) window = open;
    if (!window) return false;
    std::shared_ptr<QEvent> copy(event->clone());
    Hold(window, [platformWindow, copy] {
        if (platformWindow) QCoreApplication::sendEvent(platformWindow, copy.get());
    });
    return true;
}


bool LayerEventFilter::eventFilter(QObject* watched, QEvent* event) {
    if (layer_.HoldBack(watched, event)) return true;
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            auto* key = static_cast<QKeyEvent*>(event);
            bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!tab || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
                break;
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || !layer_.IsProgramWindow(widget->window())) break;
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();  // Tab is the layer's, never a shortcut
                return true;
            }
            bool backward = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            layer_.MoveFocus(widget->window(), backward);
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            // Gaining and losing the focus are notifications of an input field.
            auto* field = qobject_cast<QLineEdit*>(watched);
            if (!field) break;
            int number = layer_.ControlOf(field);
            const ControlEntry* entry = layer_.Entry(number);
            if (entry && entry->kind->NotifiesFocus())
                layer_.Queue(EventKind::ControlEvent, number, field->window());
            break;
        }
        default: break;
    }
    return false;
}

EventKind WindowLayer::EventWait() {
    LayerState& d = *impl_;
    if (!QCoreApplication::instance()) return EventKind::Other;
    for (;;) {
        while (!d.events.empty() && !d.events.front().window) d.events.pop_front();
        if (!d.events.empty()) {
            QueuedEvent event = d.events.front();
            d.events.pop_front();
            if (event.kind == EventKind::ControlEvent) d.lastControl = event.control;
            return event.kind;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        d.NoteFrameMargins();
        if (!d.events.empty()) continue;
        while (!d.heldInput.empty() && !d.heldInput.front().window) d.heldInput.pop_front();
        if (!d.heldInput.empty()) {
            HeldInput input = std::move(d.heldInput.front());
            d.heldInput.pop_front();
            input.deliver();
            continue;
        }
        if (d.testing.onIdle) {
            d.testing.onIdle();
            if (!d.heldInput.empty() || !d.events.empty()) continue;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

int WindowLayer::EventControl() const { return impl_->lastControl; }

