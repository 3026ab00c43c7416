#pragma once

#include <QString>
#include <cstdio>

namespace app {

// Writes `line` and an end of line on `stream` (stdout or stderr), where whoever started the program reads
// it: a terminal, a file or a pipe it was sent to, or on Windows the console it was started from.
void writeLine(std::FILE* stream, const QString& line);

// Windows gives a windowed program no console of its own: when `stream` is not sent to a file or a pipe,
// writes `line` in the console of the program that started this one (cmd, PowerShell), in the console's
// own characters, and says whether it did. Elsewhere, and with no such console, it does nothing.
#if defined(_WIN32)
bool writeToStartingConsole(std::FILE* stream, const QString& line);
#else
inline bool writeToStartingConsole(std::FILE* /*stream*/, const QString& /*line*/) {
    return false;
}
#endif

} // namespace app
