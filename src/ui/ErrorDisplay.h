#pragma once

// The program's default error display: what an error that no handler
// absorbs comes to. A message box titled with the application title, with
// the error icon, the error's message and one OK button; then the program
// goes on. No exception ever crosses Qt's event loop: handlers that may
// raise run through Guarded, and the application object catches whatever
// still reaches it (TApplication).

#include <QString>
#include <concepts>
#include <exception>
#include <utility>

namespace lorvane {

void ShowDefaultError(const QString& message);
// The message of the exception being handled (call inside a catch block).
QString CurrentErrorMessage();

// Runs f; an exception that leaves it goes to the default error display.
template <typename F>
void Guarded(F&& f) noexcept {
    try {
        std::forward<F>(f)();
    } catch (...) {
        ShowDefaultError(CurrentErrorMessage());
    }
}

// A slot for connect(): the callable, run through Guarded. It takes the
// signal's arguments that the callable takes.
template <typename F>
auto GuardedSlot(F f) {
    return [f = std::move(f)]<typename... A>(
        A && ... args) mutable noexcept requires std::invocable<F&, A...> {
        Guarded([&] { f(std::forward<A>(args)...); });
    };
}

}  // namespace lorvane
