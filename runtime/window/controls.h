// Pieces of the controls that the layer's tests reach directly.
#pragma once

#include "runtime/window/window_layer.h"

#include <QChar>
#include <QLineEdit>
#include <QString>

class QFontMetrics;

// The capital of a letter when code page 1252 holds it; otherwise, and for a
// letter without a single capital (ß), the letter itself.
QChar UpperInCodePage(QChar c);

// A multi-line button's caption broken at blanks into lines of at most width
// pixels (a word longer than that keeps its own line).
QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width);

// A one-line input field that refuses typed non-digits or turns typed letters
// into capitals, as its options say. Texts the program sets are kept as given.
class FieldEdit : public QLineEdit {
public:
    FieldEdit(unsigned options, QWidget* parent);
    unsigned Options() const { return (digitsOnly_ ? kDigitsOnly : 0u) | (upperCase_ ? kUpperCase : 0u); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool digitsOnly_;
    bool upperCase_;
};
