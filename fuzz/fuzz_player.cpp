// libFuzzer entry: the input's bytes seed the program, then make the child's choices, read as the monkey
// test draws them. Any broken rule or runtime error aborts with the event that caused it.
#include "monkey.h"
#include "support.h"

#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Never destroyed: libFuzzer leaves through exit(), after Qt's thread storage is gone.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each choice from as few bytes as it needs; once the input runs out every choice is 0.
    FuzzedDataProvider bytes(data, size);
    const auto draw = [&bytes](std::uint32_t n) {
        return n <= 1 ? 0 : bytes.ConsumeIntegralInRange<std::uint32_t>(0, n - 1);
    };
    monkey::Player player(draw);
    player.start(draw(1u << 24));
    while (bytes.remaining_bytes() > 0) {
        const QString broken = player.step();
        if (!broken.isEmpty()) {
            std::fprintf(stderr, "event %ld (%s): %s\n", player.tally().events,
                         qPrintable(player.lastEvent()), qPrintable(broken));
            std::abort();
        }
    }
    return 0;
}
