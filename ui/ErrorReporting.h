#pragma once

#include <QObject>
#include <QString>
#include <exception>

namespace kb::ui {

// The default error handler's box: a stop icon, one OK button, the caption
// set below and the error's message with a full stop by the usual rule.
// Never throws; if even the box fails, the message goes to stderr.
void reportError(const std::exception_ptr& error) noexcept;

// The caption of that box: the application title, set once at start-up.
void setErrorCaption(const QString& caption);
QString errorCaption();

// Connects a signal to an event handler so that an exception leaving the
// handler is shown by the default error handler and goes no further: Qt's
// signal dispatch must never be unwound by an exception. The handler's
// effects before the failure stay as they are.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, Receiver* receiver, void (Receiver::*handler)()) {
    return QObject::connect(sender, signal, receiver, [receiver, handler] {
        try {
            (receiver->*handler)();
        } catch (...) {
            reportError(std::current_exception());
        }
    });
}

} // namespace kb::ui
