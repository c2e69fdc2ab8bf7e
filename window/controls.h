// Pieces of the controls that the layer's tests reach directly.
#pragma once

#include "window/window_layer.h"

#include <QChar>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QTreeWidget>

#include <functional>

class QFontMetrics;
class QLabel;
class QListWidget;
struct LayerState;

// A label's text wider than the label is set in a narrower stretch of its
// window's font, down to a floor that stays legible, rather than cut.
void FitLabelText(QLabel* label);

// The width a frame's caption may take in a frame of that width.
int FrameCaptionRoom(int frameWidth);

// The live line list under the number; null for any other number.
QListWidget* LineListOf(const LayerState& d, int number);

// A multi-line button's caption broken at blanks into lines of at most width
// pixels (a word longer than that keeps its own line).
QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width);

// The suggestions under an input field: lines in columns, one of which the
// user may mark and choose. It never takes the focus; its field hands it
// the keys that move the mark, choose and close.
class SuggestionList : public QTreeWidget {
public:
    // place: where it stands and its largest size.
    SuggestionList(QLineEdit* field, const QRect& place, std::function<void()> onChoose, QWidget* parent);
    // Sets the lines (a line feed between lines, a tab between columns) and
    // shows them under the field when it has the focus; none closes the list.
    void SetLines(const QString& lines);
    QString Lines() const;
    int Chosen() const { return chosen_; }  // counted from 1; 0: none
    // Drops the lines and hides the list.
    void Close();
    // A key pressed in the field: true when the list used it.
    bool TakeKey(int key);

private:
    void Mark(int row);  // -1: no line
    void Choose(int row);

    QPointer<QLineEdit> field_;
    std::function<void()> onChoose_;
    QRect place_;
    int marked_ = -1;
    int chosen_ = 0;
};

// A one-line input field. Text that enters it, typed, pasted or dropped,
// passes one filter: no control character, and digits only or letters as
// capitals as its options say. A refused typed character changes nothing.
// Texts the program sets are kept as given.
class FieldEdit : public QLineEdit {
public:
    FieldEdit(unsigned options, const FieldFilter& filter, QWidget* parent);
    unsigned Options() const { return options_; }
    void SetProgramText(const QString& text);
    // The part of text that may enter the field.
    QString Entering(const QString& text) const;
    // Filters what a change of the text brought in, before it is shown.
    void Admit(QString& text, int& cursor) const;
    void SetSuggestions(SuggestionList* list) { suggestions_ = list; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    unsigned options_;
    const FieldFilter& filter_;  // the layer's, which outlives its fields
    QString shown_;         // the text before the change under way
    bool settingProgramText_ = false;
    QPointer<SuggestionList> suggestions_;  // the list under the field, if any
};
