#include "console.h"

namespace app {

void writeLine(std::FILE* stream, const QString& line) {
    if (writeToStartingConsole(stream, line)) {
        return;
    }
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace app
