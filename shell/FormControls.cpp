#include "shell/FormControls.h"

#include "shell/FontFaces.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int FormFontPixels = 12;
constexpr int ControlFontPixels = 16;
}

QLabel *placeLabel(QWidget *window, const QString &text, int left, int top)
{
    auto *label = new QLabel(window);
    label->setFont(proportionalGothic(ControlFontPixels));
    label->move(left, top);
    setLabelText(label, text);
    return label;
}

QLineEdit *placeEdit(QWidget *window, const QString &text, int left, int top, int width, int height)
{
    auto *edit = new QLineEdit(text, window);
    edit->setFont(proportionalGothic(ControlFontPixels));
    edit->setGeometry(left, top, width, height);
    return edit;
}

QPushButton *placeButton(
    QWidget *window, const QString &caption, int left, int top, int width, int height)
{
    auto *button = new QPushButton(caption, window);
    button->setGeometry(left, top, width, height);
    return button;
}

void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

void useFormFont(QWidget *window)
{
    window->setFont(proportionalGothic(FormFontPixels));
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

bool pressButtonOnEnter(QWidget *form, const QKeyEvent *event, QPushButton *defaultButton)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto *button = qobject_cast<QPushButton *>(form->focusWidget());
    if (!button)
        button = defaultButton;
    if (!button)
        return false;
    button->click();
    return true;
}
