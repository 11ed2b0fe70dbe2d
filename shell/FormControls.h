#pragma once

#include <QString>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls placed as a form describes them: left and top in the window's
// client area, width and height in pixels. Labels size themselves to their
// text; the label and edit box font is the proportional Gothic face 16 pixels
// high, while buttons keep the window's font.
QLabel *placeLabel(QWidget *window, const QString &text, int left, int top);
QLineEdit *placeEdit(
    QWidget *window, const QString &text, int left, int top, int width, int height);
QPushButton *placeButton(
    QWidget *window, const QString &caption, int left, int top, int width, int height);

// Sets a label's text and lets the label grow with it.
void setLabelText(QLabel *label, const QString &text);

// The font of the windows themselves: the proportional Gothic face 12 pixels
// high.
void useFormFont(QWidget *window);

// Moves a window so that it stands in the middle of its screen's work area.
void centreOnScreen(QWidget *window);

// Enter or Return in a form presses the button that has the focus, or
// `defaultButton` when the focus stands elsewhere (in an edit box), as a
// dialog's default button takes Enter (none: only a focused button). True
// when the key was taken.
bool pressButtonOnEnter(QWidget *form, const QKeyEvent *event, QPushButton *defaultButton);
