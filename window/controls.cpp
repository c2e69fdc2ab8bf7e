// Controls under program-wide numbers: creation, texts and states.
#include "window/controls.h"

#include "text/code_page.h"
#include "text/text_slices.h"
#include "window/control_kinds.h"
#include "window/fonts.h"
#include "window/layer_impl.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QValidator>

#include <algorithm>

namespace {

QString FromCp1252(const std::string& text) { return QString::fromStdString(Cp1252ToUtf8(text)); }
std::string ToCp1252(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// An option button whose click always checks it; clearing the others of its
// group is the group's business.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

// Sees every change of a field's text before it is shown, whichever way
// the text came: the field lets only its own part of it through.
class EntryGate : public QValidator {
public:
    explicit EntryGate(FieldEdit* field) : QValidator(field), field_(field) {}
    State validate(QString& text, int& cursor) const override {
        field_->Admit(text, cursor);
        return Acceptable;
    }

private:
    FieldEdit* field_;
};

// All of the text consists of characters a key may type (not a command key's
// own control text, such as a backspace's).
bool AllPrintable(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// Where a frame's caption stands in its top edge.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

// A frame whose caption is set into its top edge: the etched line runs
// through the middle of the caption's height and stops on either side of it.
class FrameBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const int top = metrics.height() / 2;
        const QRect box = rect().adjusted(0, top, -1, -1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(box.adjusted(1, 1, 0, 0));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        if (title().isEmpty()) return;
        const QRect caption(kCaptionIndent, 0,
                            std::min(metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                                     width() - 2 * kCaptionIndent),
                            metrics.height());
        painter.fillRect(caption, palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
    }
};

}  // namespace

void FitLabelText(QLabel* label) {
    constexpr int kStartStretch = QFont::SemiCondensed;
    constexpr int kFloorStretch = 70;
    label->setFont(QFont());  // the window's font, when the text fits in it
    const QString text = label->text();
    if (QFontMetrics(label->font()).horizontalAdvance(text) <= label->width()) return;
    QFont narrow = label->font();
    for (int stretch = kStartStretch; stretch >= kFloorStretch; --stretch) {
        narrow.setStretch(stretch);
        if (QFontMetrics(narrow).horizontalAdvance(text) <= label->width()) break;
    }
    label->setFont(narrow);
}

int FrameCaptionRoom(int frameWidth) { return frameWidth - 2 * kCaptionIndent - 2 * kCaptionPadding; }

QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.isEmpty() ? caption : lines.join(u'\n');
}

FieldEdit::FieldEdit(unsigned options, const FieldFilter& filter, QWidget* parent)
    : QLineEdit(parent), options_(options), filter_(filter) {
    setValidator(new EntryGate(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

void FieldEdit::SetProgramText(const QString& text) {
    settingProgramText_ = true;
    setText(text);
    settingProgramText_ = false;
    setCursorPosition(0);
}

QString FieldEdit::Entering(const QString& text) const {
    QString kept;
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) continue;
        const std::string byte = c.isSurrogate() ? std::string() : Utf8ToCp1252(QString(c).toStdString());
        if (byte.size() == 1 && (byte[0] != '?' || c == u'?')) {
            kept += FromCp1252(filter_ ? filter_(byte, options_) : byte);
        } else if (!(options_ & kDigitsOnly)) {
            kept += c;  // a character beyond the code page has no capital in it
        }
    }
    return kept;
}

void FieldEdit::Admit(QString& text, int& cursor) const {
    if (settingProgramText_) return;
    // What the change brought in lies between the part before it and the
    // part after it that are as they were.
    const qsizetype most = std::min(shown_.size(), text.size());
    qsizetype before = 0;
    while (before < most && shown_[before] == text[before]) ++before;
    qsizetype after = 0;
    while (after < most - before && shown_[shown_.size() - 1 - after] == text[text.size() - 1 - after]) ++after;
    const QString entered = text.mid(before, text.size() - before - after);
    const QString kept = Entering(entered);
    if (kept == entered) return;
    text = text.left(before) + kept + text.right(after);
    const qsizetype end = before + entered.size();
    if (cursor >= end) {
        cursor -= static_cast<int>(entered.size() - kept.size());
    } else if (cursor > before) {
        cursor = static_cast<int>(before + std::min<qsizetype>(cursor - before, kept.size()));
    }
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    // The keypad's Enter and arrows count as the others.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (suggestions_ && plain && suggestions_->TakeKey(event->key())) {
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && AllPrintable(text) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QString kept = Entering(text);
        if (kept.isEmpty()) {
            event->accept();  // a refused character changes nothing
            return;
        }
        if (kept != text) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), kept,
                              event->isAutoRepeat(), static_cast<ushort>(event->count()));
            QLineEdit::keyPressEvent(&changed);
            event->setAccepted(changed.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        const QString kept = Entering(commit);
        if (kept != commit) {
            QInputMethodEvent changed(event->preeditString(), event->attributes());
            changed.setCommitString(kept, event->replacementStart(), event->replacementLength());
            QLineEdit::inputMethodEvent(&changed);
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window coming to the front leaves the field its focus.
    if (suggestions_ && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        suggestions_->Close();
}

SuggestionList::SuggestionList(QLineEdit* field, const QRect& place, std::function<void()> onChoose,
                               QWidget* parent)
    : QTreeWidget(parent), field_(field), onChoose_(std::move(onChoose)), place_(place) {
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setFont(NormalFont());  // read as the secondary windows are, not in the main window's compact face
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setGeometry(place);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { Choose(indexOfTopLevelItem(item)); });
}

void SuggestionList::SetLines(const QString& lines) {
    clear();
    marked_ = -1;
    chosen_ = 0;
    if (lines.isEmpty()) {
        hide();
        return;
    }
    int columns = 1;
    for (const QString& line : lines.split(u'\n')) {
        const QStringList parts = line.split(u'\t');
        columns = std::max(columns, static_cast<int>(parts.size()));
        addTopLevelItem(new QTreeWidgetItem(parts));
    }
    setColumnCount(columns);
    // Each column as wide as its widest entry and a gap; the last takes the rest.
    constexpr int kColumnGap = 14;
    for (int c = 0; c + 1 < columns; ++c) setColumnWidth(c, sizeHintForColumn(c) + kColumnGap);
    const int rowHeight = std::max(1, sizeHintForRow(0));
    const int height = std::min(place_.height(), topLevelItemCount() * rowHeight + 2 * frameWidth());
    setGeometry(place_.x(), place_.y(), place_.width(), height);
    if (field_ && field_->window()->focusWidget() == field_) {
        raise();  // over the controls beneath it
        show();
    } else {
        Close();  // the user has gone on elsewhere
    }
}

QString SuggestionList::Lines() const {
    QStringList lines;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QStringList parts;
        for (int c = 0; c < columnCount(); ++c) parts << topLevelItem(row)->text(c);
        while (parts.size() > 1 && parts.back().isEmpty()) parts.removeLast();
        lines << parts.join(u'\t');
    }
    return lines.join(u'\n');
}

void SuggestionList::Close() {
    if (topLevelItemCount() == 0 && isHidden()) return;
    clear();
    marked_ = -1;
    hide();
}

void SuggestionList::Mark(int row) {
    marked_ = row;
    if (row < 0) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentItem(topLevelItem(row));
    scrollToItem(topLevelItem(row));
}

void SuggestionList::Choose(int row) {
    if (row < 0 || row >= topLevelItemCount()) return;
    Close();
    chosen_ = row + 1;
    if (onChoose_) onChoose_();
}

bool SuggestionList::TakeKey(int key) {
    if (isHidden() || topLevelItemCount() == 0) return false;
    switch (key) {
    case Qt::Key_Down:
        Mark(std::min(marked_ + 1, topLevelItemCount() - 1));
        return true;
    case Qt::Key_Up:
        // Above the first line the mark goes back into the field.
        Mark(marked_ - 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (marked_ < 0) return false;  // the field's own Return, as without a list
        Choose(marked_);
        return true;
    case Qt::Key_Escape:
        Close();
        return true;
    default:
        return false;
    }
}

ControlEntry* ControlTable::Entry(int number) {
    if (number < 0 || number >= static_cast<int>(controls.size())) return nullptr;
    return &controls[number];
}

const ControlEntry* ControlTable::Entry(int number) const {
    if (number < 0 || number >= static_cast<int>(controls.size())) return nullptr;
    return &controls[number];
}

QWidget* ControlTable::Live(int number) const {
    const ControlEntry* entry = Entry(number);
    return entry ? entry->widget.data() : nullptr;
}

void ControlTable::Register(int number, QWidget* widget, const ControlKind& kind) {
    if (number >= static_cast<int>(controls.size())) controls.resize(number + 30);
    ControlEntry& entry = controls[number];
    entry = ControlEntry{};
    entry.widget = widget;
    entry.kind = &kind;
    entry.window = widget->window();
    entry.sequence = nextSequence++;
    widget->setProperty("kelmorvenControl", number);
    widget->show();
    if (kind.EndsOptionRun()) EndOptionRun();
}

int ControlTable::ControlOf(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget()) {
        QVariant number = widget->property("kelmorvenControl");
        if (number.isValid()) {
            int n = number.toInt();
            const ControlEntry* entry = Entry(n);
            return entry && entry->widget == widget ? n : -1;
        }
        if (widget->isWindow()) break;
    }
    return -1;
}

// Focus order: the enabled, visible fields, buttons, check boxes, options
// and line lists of the window, in the order of their creation, wrapping.
void ControlTable::MoveFocus(QWidget* window, bool backward) {
    std::vector<const ControlEntry*> stops;
    for (const ControlEntry& entry : controls) {
        if (!entry.widget || entry.window != window || !entry.kind->Focusable()) continue;
        if (entry.widget->isEnabled() && entry.widget->isVisibleTo(window)) stops.push_back(&entry);
    }
    if (stops.empty()) return;
    std::sort(stops.begin(), stops.end(),
              [](const ControlEntry* a, const ControlEntry* b) { return a->sequence < b->sequence; });
    int at = -1;
    const int focused = ControlOf(window->focusWidget());
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (focused >= 0 && stops[i] == Entry(focused)) at = static_cast<int>(i);
    const int count = static_cast<int>(stops.size());
    int next = at < 0 ? (backward ? count - 1 : 0) : (at + (backward ? count - 1 : 1)) % count;
    stops[next]->widget->setFocus(Qt::TabFocusReason);
}

void WindowLayer::LabelAdd(int number, int x, int y, int width, int height, const std::string& text,
                           Alignment alignment) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* label = new QLabel(FromCp1252(text), parent);
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment horizontal = alignment == Alignment::Centre  ? Qt::AlignHCenter
                               : alignment == Alignment::Right ? Qt::AlignRight
                                                               : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    label->setGeometry(x, y, width, height);
    // Painted on the window's face, so that a frame's line beneath a label
    // never runs through its text.
    label->setAutoFillBackground(true);
    FitLabelText(label);
    d.Register(number, label, LabelAdapter());
}

void WindowLayer::FieldFilterSet(FieldFilter filter) { impl_->fieldFilter = std::move(filter); }

void WindowLayer::InputFieldAdd(int number, int x, int y, int width, int height,
                                const std::string& text, unsigned options) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* field = new FieldEdit(options, d.fieldFilter, parent);
    field->SetProgramText(FromCp1252(text));
    field->setGeometry(x, y, width, height);
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [&d, field, number] { d.Queue(EventKind::ControlEvent, number, field->window()); });
    d.Register(number, field, InputFieldAdapter());
}

void WindowLayer::ButtonAdd(int number, int x, int y, int width, int height, const std::string& text,
                            unsigned options) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* button = new QPushButton(parent);
    button->setGeometry(x, y, width, height);
    button->setCheckable(options & kToggle);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button,
                     [&d, button, number] { d.Queue(EventKind::ControlEvent, number, button->window()); });
    d.Register(number, button, ButtonAdapter());
    ControlEntry& entry = *d.Entry(number);
    entry.toggle = options & kToggle;
    entry.multiLine = options & kMultiLine;
    ControlTextSet(number, text);
}

void WindowLayer::CheckBoxAdd(int number, int x, int y, int width, int height, const std::string& text) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* box = new QCheckBox(FromCp1252(text), parent);
    box->setGeometry(x, y, width, height);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [&d, box, number] { d.Queue(EventKind::ControlEvent, number, box->window()); });
    d.Register(number, box, CheckBoxAdapter());
}

void WindowLayer::OptionAdd(int number, int x, int y, int width, int height, const std::string& text) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    // The group is the run of consecutive option buttons, not the parent;
    // exclusivity is kept here so that the program may set and clear freely.
    QButtonGroup* group = d.optionGroup;
    if (!group || group->parent() != parent) {
        group = new QButtonGroup(parent);
        group->setExclusive(false);
        QObject::connect(group, &QButtonGroup::buttonClicked, group, [group](QAbstractButton* clicked) {
            for (QAbstractButton* other : group->buttons())
                if (other != clicked) other->setChecked(false);
        });
    }
    auto* option = new OptionButton(FromCp1252(text), parent);
    option->setAutoExclusive(false);
    option->setGeometry(x, y, width, height);
    group->addButton(option);
    QObject::connect(option, &QRadioButton::clicked, option,
                     [&d, option, number] { d.Queue(EventKind::ControlEvent, number, option->window()); });
    d.Register(number, option, OptionAdapter());
    d.optionGroup = group;
}

void WindowLayer::FrameAdd(int number, int x, int y, int width, int height, const std::string& text) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* frame = new FrameBox(FromCp1252(text), parent);
    frame->setGeometry(x, y, width, height);
    frame->setFocusPolicy(Qt::NoFocus);
    // Drawn around controls made before it: it stays beneath them and lets
    // their clicks through.
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    d.Register(number, frame, FrameAdapter());
    frame->lower();
}

void WindowLayer::ProgressBarAdd(int number, int x, int y, int width, int height, int minimum,
                                 int maximum) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* bar = new QProgressBar(parent);
    bar->setRange(minimum, std::max(minimum, maximum));
    bar->setValue(minimum);
    bar->setTextVisible(false);
    bar->setGeometry(x, y, width, height);
    bar->setFocusPolicy(Qt::NoFocus);
    d.Register(number, bar, ProgressBarAdapter());
}

void WindowLayer::LineListAdd(int number, int x, int y, int width, int height) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* list = new QListWidget(parent);
    list->setGeometry(x, y, width, height);
    list->setSortingEnabled(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setTextElideMode(Qt::ElideNone);  // a long line is cut at the edge
    list->setWordWrap(false);
    list->setUniformItemSizes(true);
    list->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QObject::connect(list, &QListWidget::currentRowChanged, list,
                     [&d, list, number] { d.Queue(EventKind::ControlEvent, number, list->window()); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [&d, list, number] { d.Queue(EventKind::ControlEvent, number, list->window()); });
    d.Register(number, list, LineListAdapter());
}

void WindowLayer::SuggestionListAdd(int number, int x, int y, int width, int height, int field) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    const ControlEntry* fieldEntry = d.Entry(field);
    if (number < 0 || !parent || !fieldEntry || !fieldEntry->widget || fieldEntry->kind != &InputFieldAdapter() ||
        fieldEntry->window != parent)
        return;
    auto* edit = static_cast<FieldEdit*>(fieldEntry->widget.data());
    QPointer<QWidget> window = parent;
    auto* list = new SuggestionList(edit, QRect(x, y, width, height), [&d, window, number] {
        if (window) d.Queue(EventKind::ControlEvent, number, window);
    }, parent);
    d.Register(number, list, SuggestionListAdapter());
    list->hide();  // until it has lines
    edit->SetSuggestions(list);
}

std::string WindowLayer::ControlTextGet(int number) const {
    const ControlEntry* entry = impl_->Entry(number);
    if (!entry || !entry->widget) return {};
    return TextSliceLeft(ToCp1252(entry->kind->Text(*entry)), 31999);
}

void WindowLayer::ControlTextSet(int number, const std::string& text) {
    ControlEntry* entry = impl_->Entry(number);
    if (!entry || !entry->widget || !entry->kind->SetText(*entry, FromCp1252(text))) return;
    entry->widget->repaint();  // shown at once, also inside the program's long loops
}

int WindowLayer::ControlStateGet(int number) const {
    const ControlEntry* entry = impl_->Entry(number);
    if (!entry || !entry->widget) return 0;
    return entry->kind->State(*entry);
}

void WindowLayer::ControlStateSet(int number, int state) {
    ControlEntry* entry = impl_->Entry(number);
    if (!entry || !entry->widget || !entry->kind->SetState(*entry, state)) return;
    entry->widget->repaint();
}

// The live line list under the number; null for any other number.
QListWidget* LineListOf(const LayerState& d, int number) {
    const ControlEntry* entry = d.Entry(number);
    if (!entry || !entry->widget || entry->kind != &LineListAdapter()) return nullptr;
    return static_cast<QListWidget*>(entry->widget.data());
}

void WindowLayer::LineListAppend(int number, const std::string& text) {
    if (QListWidget* list = LineListOf(*impl_, number)) list->addItem(FromCp1252(text));
}



