#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace ui {

// The error numbers a player could ever see, kept as the classic forms runtime numbered them so that a
// report from a classroom can be matched to its cause at a glance.
enum class ErrorCode : int {
    InvalidCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
};

QString errorMessage(ErrorCode code);

// Stops the program: an arithmetic overflow or a bad subscript means the game's own invariants broke, and
// carrying on would show the child nonsense. The message goes to stderr and, on a real screen, to a dialog.
[[noreturn]] void runtimeError(ErrorCode code);

// What tests install to observe a runtime error instead of dying. The handler must not return (throwing
// is the usual way out); if it does, the program aborts.
using RuntimeErrorHandler = std::function<void(ErrorCode, const QString&)>;
RuntimeErrorHandler setRuntimeErrorHandler(RuntimeErrorHandler handler);

// Thrown by the handler that tests install.
struct RuntimeErrorException : std::runtime_error {
    explicit RuntimeErrorException(ErrorCode c, const QString& m)
        : std::runtime_error(m.toStdString()), code(c) {}
    ErrorCode code;
};

} // namespace ui
