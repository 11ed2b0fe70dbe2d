#pragma once

#include "shell/Prompts.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <exception>
#include <utility>

// Shows the text of an error that escaped a handler in the error message box,
// with what locates its cause when the error knows it (see UserMessage).
void showHandlerError(QWidget *parent, const std::exception &error);
void showUnknownHandlerError(QWidget *parent);

// Runs `handler`; an exception it throws is shown through the prompts and
// goes no further, so the rest of the handler is skipped and the program goes
// on. Qt leaves an exception escaping a slot undefined.
template <typename Handler>
void runGuarded(QWidget *parent, Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &error) {
        showHandlerError(parent, error);
    } catch (...) {
        showUnknownHandlerError(parent);
    }
}

// Connects `signal` of `sender` to the member handler `slot` of `receiver`
// through runGuarded. The handler takes no arguments.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, Receiver *receiver,
                                       void (Receiver::*slot)())
{
    return QObject::connect(sender, signal, receiver,
                            [receiver, slot] { runGuarded(receiver, [&] { (receiver->*slot)(); }); });
}
