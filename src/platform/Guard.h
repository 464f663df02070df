#pragma once

#include "AppError.h"
#include "Dialogs.h"

#include <QObject>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Runs a handler as the framework runs an event handler: an AppError (or any other exception)
// ends the handler and is shown in the default error report; nothing ever reaches Qt.
// Returns true when the handler finished without an error.
template <typename F> bool runGuarded(F&& handler)
{
    try {
        std::forward<F>(handler)();
        return true;
    } catch (const AppError& error) {
        Dialogs::instance().reportError(error.message());
    } catch (const std::exception& error) {
        Dialogs::instance().reportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

namespace Guard {
// The failure of a request's receiver, waiting for its sender (see connectRequest).
std::exception_ptr& pendingFailure();
} // namespace Guard

template <typename Slot, typename Receiver, typename... Args>
void invokeSlot(Slot& slot, Receiver* receiver, Args&&... args)
{
    if constexpr (std::is_invocable_v<Slot, Receiver*, Args...>)
        std::invoke(slot, receiver, args...);
    else if constexpr (std::is_invocable_v<Slot, Receiver*>)
        std::invoke(slot, receiver);
    else if constexpr (std::is_invocable_v<Slot, Args...>)
        slot(args...);
    else
        slot();
}

// Every handler slot is connected through this:
//   connectGuarded(button, &QPushButton::clicked, this, &MainWindow::BtNyClick);
// The slot may take the signal's arguments or none of them; it may also be a lambda.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Slot slot)
{
    return QObject::connect(sender, signal, receiver, [receiver, slot](auto&&... args) {
        runGuarded([&] { invokeSlot(slot, receiver, args...); });
    });
}

// A request is a signal whose sender must see its receiver fail, as with a call: the receiver's
// exception is kept instead of reaching Qt, and the sender rethrows it after emitting with
//   emit popupRequested(path); throwPendingFailure();
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection connectRequest(Sender* sender, Signal signal, Receiver* receiver, Slot slot)
{
    return QObject::connect(sender, signal, receiver, [receiver, slot](auto&&... args) {
        try {
            invokeSlot(slot, receiver, args...);
        } catch (...) {
            if (!Guard::pendingFailure())
                Guard::pendingFailure() = std::current_exception();
        }
    });
}

// Rethrows (once) what a request's receiver threw during the last emission.
inline void throwPendingFailure()
{
    if (std::exception_ptr failure = std::exchange(Guard::pendingFailure(), nullptr))
        std::rethrow_exception(failure);
}
