#pragma once

#include <QString>
#include <stdexcept>

namespace base {

// The error numbers a player could ever see, kept as the classic forms runtime numbered them so that a
// report from a classroom can be matched to its cause at a glance.
enum class ErrorCode : int {
    InvalidCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
};

QString errorMessage(ErrorCode code);

// An arithmetic overflow or a bad subscript: the game's own invariants broke, and carrying on would show
// the child nonsense. The runtime catches it where the event's handler started and stops the program
// (ui::stopProgram, runtime.h); a test asks its runtime to let it through instead, and sees it thrown.
struct RuntimeErrorException : std::runtime_error {
    explicit RuntimeErrorException(ErrorCode c, const QString& m)
        : std::runtime_error(m.toStdString()), code(c) {}
    ErrorCode code;
};

// Throws the error, with its message in French as a teacher would report it.
[[noreturn]] void runtimeError(ErrorCode code);
[[noreturn]] void runtimeError(ErrorCode code, const QString& detail);

} // namespace base
