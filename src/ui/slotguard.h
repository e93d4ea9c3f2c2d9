#pragma once

#include <QObject>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Qt does not let an exception cross a signal, a slot or an event handler. What a window's
// slot cannot finish (the program ended, the collection reopened after a repair, a store
// error) is caught inside the slot and handed to one settler, which the application installs.
namespace perlinex {

using SlotErrorSettler = std::function<void(std::exception_ptr)>;

// Installs the settler for the whole program; an empty one restores the default, which
// writes the error to the log.
void setSlotErrorSettler(SlotErrorSettler settler);

// Runs action; an exception it throws is handed to the settler instead of passing on.
// Returns true when action ran to its end.
bool runGuarded(const std::function<void()>& action) noexcept;

// connect() for a window's slots: fn runs under runGuarded, with the signal's arguments when
// it takes them.
template <typename Sender, typename Signal, typename Fn>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* context,
                                       Fn fn) {
    return QObject::connect(sender, signal, context, [fn = std::move(fn)](auto&&... args) {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<const Fn&, decltype(args)...>)
                fn(std::forward<decltype(args)>(args)...);
            else
                fn();
        });
    });
}

// The same for a member function of the receiver (or of a class it derives from).
template <typename Sender, typename Signal, typename Receiver, typename Class, typename R,
          typename... A>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Receiver* receiver,
                                       R (Class::*method)(A...)) {
    static_assert(std::is_base_of_v<Class, Receiver>);
    return QObject::connect(sender, signal, receiver, [receiver, method](auto&&... args) {
        runGuarded([&] {
            if constexpr (sizeof...(A) == 0)
                (receiver->*method)();
            else
                (receiver->*method)(std::forward<decltype(args)>(args)...);
        });
    });
}

} // namespace perlinex
