// The tests' hooks into the window layer: input queued as a user gives it,
// and the facts of windows, controls, pictures and sounds.
#include "window/window_layer_testing.h"

#include "text/code_page.h"
#include "window/control_kinds.h"
#include "window/controls.h"
#include "window/layer_impl.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

WindowLayerTesting::Options& WindowLayerTesting::Test() { return layer_.impl_->testing; }

namespace {

void SendClick(QWidget* window, QPoint inWindow) {
    QWidget* target = window->childAt(inWindow);
    if (!target) target = window;
    QPointF local = target->mapFrom(window, inWindow);
    QPointF global = window->mapToGlobal(inWindow);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace

void WindowLayerTesting::SimulateClick(int control) {
    LayerState& d = *layer_.impl_;
    QWidget* widget = d.Live(control);
    if (!widget) return;
    QPointer<QWidget> target = widget;
    d.Hold(widget->window(), [target] {
        if (!target) return;
        // Where a user aims: the middle, or the mark of a check box or option.
        QPoint point = target->rect().center();
        if (qobject_cast<QCheckBox*>(target) || qobject_cast<QRadioButton*>(target))
            point.setX(std::min(6, target->width() / 2));
        QWidget* window = target->window();
        if (window->isVisible()) target->activateWindow();
        SendClick(window, target->mapTo(window, point));
    });
}

void WindowLayerTesting::SimulateTyping(int control, const std::string& cp1252Text) {
    LayerState& d = *layer_.impl_;
    QWidget* widget = d.Live(control);
    if (!widget) return;
    QPointer<QWidget> target = widget;
    d.Hold(widget->window(), [target, cp1252Text] {
        if (!target) return;
        target->setFocus(Qt::MouseFocusReason);
        for (char byte : cp1252Text) {
            QString text = QString::fromStdString(Cp1252ToUtf8(std::string(1, byte)));
            QChar c = text.isEmpty() ? QChar() : text.front();
            int key = c.toUpper().unicode() < 0x100 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
            SendKey(target, key, Qt::NoModifier, text);
            if (!target) return;
        }
    });
}

void WindowLayerTesting::SimulateKey(int key, bool shift) {
    LayerState& d = *layer_.impl_;
    QWidget* window = QApplication::activeWindow();
    if (!d.IsProgramWindow(window)) window = d.current;
    if (!window) return;
    QPointer<QWidget> target = window;
    d.Hold(window, [target, key, shift] {
        if (!target) return;
        QWidget* to = target->focusWidget() ? target->focusWidget() : target.data();
        int sent = key == Qt::Key_Tab && shift ? int(Qt::Key_Backtab) : key;
        QString text = key == Qt::Key_Tab ? QStringLiteral("\t") : QString();
        SendKey(to, sent, shift ? Qt::ShiftModifier : Qt::NoModifier, text);
    });
}

void WindowLayerTesting::SimulateCloseRequest(int window) {
    LayerState& d = *layer_.impl_;
    if (!WindowIsOpen(window)) return;
    QPointer<QWidget> target = d.windows[window].data();
    d.Hold(target, [target] {
        if (target) target->close();  // the close box's way: a close event, refused
    });
}

int WindowLayerTesting::FocusedControl() const {
    const LayerState& d = *layer_.impl_;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !d.IsProgramWindow(focus->window())) {
        QWidget* window = QApplication::activeWindow();
        if (!d.IsProgramWindow(window)) window = d.current;
        focus = window ? window->focusWidget() : nullptr;
    }
    return d.ControlOf(focus);
}

bool WindowLayerTesting::WindowIsOpen(int number) const {
    return number >= 0 && number < static_cast<int>(layer_.impl_->windows.size()) && layer_.impl_->windows[number];
}

std::string WindowLayerTesting::WindowTitle(int number) const {
    if (!WindowIsOpen(number)) return {};
    return Utf8ToCp1252(layer_.impl_->windows[number]->windowTitle().toStdString());
}

bool WindowLayerTesting::SaveScreenshot(int window, const std::string& pngPath) const {
    if (!WindowIsOpen(window)) return false;
    return layer_.impl_->windows[window]->grab().save(QString::fromStdString(pngPath), "PNG");
}

WindowLayerTesting::WindowPlace WindowLayerTesting::WindowGeometry(int number) const {
    if (!WindowIsOpen(number)) return {};
    const LayerWindow* window = layer_.impl_->windows[number];
    return WindowPlace{window->x(), window->y(), window->width(), window->height()};
}

int WindowLayerTesting::LineListCount(int number) const {
    const QListWidget* list = LineListOf(*layer_.impl_, number);
    return list ? list->count() : 0;
}

std::string WindowLayerTesting::LineListText(int number, int row) const {
    const QListWidget* list = LineListOf(*layer_.impl_, number);
    const QListWidgetItem* item = list ? list->item(row) : nullptr;
    return item ? Utf8ToCp1252(item->text().toStdString()) : std::string();
}

WindowLayerTesting::ControlFacts WindowLayerTesting::ControlGeometry(int number) const {
    ControlFacts facts;
    const ControlEntry* entry = layer_.impl_->Entry(number);
    if (!entry || !entry->widget) return facts;
    QWidget* w = entry->widget;
    facts.live = true;
    facts.x = w->x();
    facts.y = w->y();
    facts.width = w->width();
    facts.height = w->height();
    facts.kind = entry->kind->Name();
    facts.shown = w->isVisibleTo(w->window());
    facts.fontPixels = QFontInfo(w->font()).pixelSize();
    entry->kind->Describe(*entry, facts);
    return facts;
}
WindowLayerTesting::PictureFacts WindowLayerTesting::PictureInSlot(int slot) const {
    const LayerState& d = *layer_.impl_;
    if (slot < 0 || slot >= static_cast<int>(d.pictures.size()) || !d.pictures[slot].held) return {};
    const PictureSlot& held = d.pictures[slot];
    return PictureFacts{true, held.width, held.height, held.depth};
}

int WindowLayerTesting::SoundSlotCount() const { return static_cast<int>(layer_.impl_->sounds.size()); }

bool WindowLayerTesting::SoundHeld(int slot) const {
    return slot >= 0 && slot < static_cast<int>(layer_.impl_->sounds.size()) && layer_.impl_->sounds[slot].held;
}
