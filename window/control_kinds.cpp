#include "window/control_kinds.h"

#include "window/controls.h"
#include "window/layer_impl.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// Pixels the widest line of the text takes in the control's font.
int WidestLine(const QWidget* w, const QString& text) {
    const QFontMetrics metrics = w->fontMetrics();
    int width = 0;
    for (const QString& line : text.split(u'\n')) width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

// Pixels the style gives a button's caption.
int CaptionRoom(QWidget* w, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(w);
    option.text = static_cast<QAbstractButton*>(w)->text();
    return w->style()->subElementRect(element, &option, w).width();
}

class Label final : public ControlKind {
public:
    const char* Name() const override { return "label"; }
    QString Text(const ControlEntry& e) const override { return Of(e)->text(); }
    bool SetText(ControlEntry& e, const QString& text) const override {
        Of(e)->setText(text);
        FitLabelText(Of(e));
        return true;
    }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        const Qt::Alignment a = Of(e)->alignment();
        facts.alignment = (a & Qt::AlignHCenter) ? Alignment::Centre
                          : (a & Qt::AlignRight) ? Alignment::Right
                                                 : Alignment::Left;
        facts.textWidth = WidestLine(Of(e), Of(e)->text());
        facts.textRoom = Of(e)->width();
    }

private:
    static QLabel* Of(const ControlEntry& e) { return static_cast<QLabel*>(e.widget.data()); }
};

class InputField final : public ControlKind {
public:
    const char* Name() const override { return "input field"; }
    bool Focusable() const override { return true; }
    bool NotifiesFocus() const override { return true; }
    QString Text(const ControlEntry& e) const override { return Of(e)->text(); }
    bool SetText(ControlEntry& e, const QString& text) const override {
        Of(e)->SetProgramText(text);
        return true;
    }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        facts.options = Of(e)->Options();
        facts.textWidth = WidestLine(Of(e), Of(e)->text());
        facts.textRoom = Of(e)->width();
    }

private:
    static FieldEdit* Of(const ControlEntry& e) { return static_cast<FieldEdit*>(e.widget.data()); }
};

// Check boxes, options and buttons: a caption and a checked state.
class Checkable : public ControlKind {
public:
    bool Focusable() const override { return true; }
    QString Text(const ControlEntry& e) const override { return Of(e)->text(); }
    bool SetText(ControlEntry& e, const QString& text) const override {
        Of(e)->setText(text);
        return true;
    }
    int State(const ControlEntry& e) const override { return Of(e)->isChecked() ? 1 : 0; }
    bool SetState(ControlEntry& e, int state) const override {
        // An option's group is not exclusive by itself: the others keep their states.
        Of(e)->setChecked(state != 0);
        return true;
    }

protected:
    static QAbstractButton* Of(const ControlEntry& e) { return static_cast<QAbstractButton*>(e.widget.data()); }
};

class CheckBox final : public Checkable {
public:
    const char* Name() const override { return "check box"; }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        facts.textWidth = WidestLine(Of(e), Of(e)->text());
        facts.textRoom = CaptionRoom(Of(e), QStyle::SE_CheckBoxContents);
    }
};

class Option final : public Checkable {
public:
    const char* Name() const override { return "option"; }
    bool EndsOptionRun() const override { return false; }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        facts.textWidth = WidestLine(Of(e), Of(e)->text());
        facts.textRoom = CaptionRoom(Of(e), QStyle::SE_RadioButtonContents);
    }
};

class Button final : public Checkable {
public:
    const char* Name() const override { return "button"; }
    QString Text(const ControlEntry& e) const override { return e.caption; }  // before wrapping
    bool SetText(ControlEntry& e, const QString& text) const override {
        e.caption = text;
        QWidget* w = Of(e);
        Of(e)->setText(e.multiLine ? WrapCaption(text, w->fontMetrics(), w->width() - 8) : text);
        return true;
    }
    bool SetState(ControlEntry& e, int state) const override {
        return e.toggle && Checkable::SetState(e, state);  // a plain button has no state to set
    }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        facts.options = (e.toggle ? kToggle : 0u) | (e.multiLine ? kMultiLine : 0u);
        facts.textWidth = WidestLine(Of(e), Of(e)->text());
        facts.textRoom = CaptionRoom(Of(e), QStyle::SE_PushButtonContents);
    }
};

class Frame final : public ControlKind {
public:
    const char* Name() const override { return "frame"; }
    QString Text(const ControlEntry& e) const override { return Of(e)->title(); }
    bool SetText(ControlEntry& e, const QString& text) const override {
        Of(e)->setTitle(text);
        return true;
    }
    void Describe(const ControlEntry& e, WindowLayerTesting::ControlFacts& facts) const override {
        facts.textWidth = WidestLine(Of(e), Of(e)->title());
        facts.textRoom = FrameCaptionRoom(Of(e)->width());
    }

private:
    static QGroupBox* Of(const ControlEntry& e) { return static_cast<QGroupBox*>(e.widget.data()); }
};

class ProgressBar final : public ControlKind {
public:
    const char* Name() const override { return "progress bar"; }
    bool EndsOptionRun() const override { return false; }
    int State(const ControlEntry& e) const override { return Of(e)->value(); }
    bool SetState(ControlEntry& e, int state) const override {
        Of(e)->setValue(std::clamp(state, Of(e)->minimum(), Of(e)->maximum()));
        return true;
    }

private:
    static QProgressBar* Of(const ControlEntry& e) { return static_cast<QProgressBar*>(e.widget.data()); }
};

class LineList final : public ControlKind {
public:
    const char* Name() const override { return "line list"; }
    bool Focusable() const override { return true; }
};

// Not a stop of the focus order: its field keeps the focus.
class Suggestions final : public ControlKind {
public:
    const char* Name() const override { return "suggestion list"; }
    QString Text(const ControlEntry& e) const override { return Of(e)->Lines(); }
    bool SetText(ControlEntry& e, const QString& text) const override {
        Of(e)->SetLines(text);
        return true;
    }
    int State(const ControlEntry& e) const override { return Of(e)->Chosen(); }

private:
    static SuggestionList* Of(const ControlEntry& e) { return static_cast<SuggestionList*>(e.widget.data()); }
};

class Picture final : public ControlKind {
public:
    const char* Name() const override { return "picture"; }
    bool EndsOptionRun() const override { return false; }
};

}  // namespace

const ControlKind& LabelAdapter() { static const Label kind; return kind; }
const ControlKind& InputFieldAdapter() { static const InputField kind; return kind; }
const ControlKind& ButtonAdapter() { static const Button kind; return kind; }
const ControlKind& CheckBoxAdapter() { static const CheckBox kind; return kind; }
const ControlKind& OptionAdapter() { static const Option kind; return kind; }
const ControlKind& FrameAdapter() { static const Frame kind; return kind; }
const ControlKind& ProgressBarAdapter() { static const ProgressBar kind; return kind; }
const ControlKind& LineListAdapter() { static const LineList kind; return kind; }
const ControlKind& SuggestionListAdapter() { static const Suggestions kind; return kind; }
const ControlKind& PictureAdapter() { static const Picture kind; return kind; }
