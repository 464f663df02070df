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
