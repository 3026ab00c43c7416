// libFuzzer entry: the input's first bytes seed the program, the rest are the child's choices, read as
// the monkey test draws them. Any broken rule or runtime error aborts with the event that caused it.
#include "monkey.h"
#include "support.h"

#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // A choice in [0, n) from as few bytes as n needs; once the input runs out every choice is 0.
    std::uint32_t draw(std::uint32_t n) {
        const std::size_t width = n <= 0x100 ? 1 : n <= 0x10000 ? 2 : 4;
        if (n <= 1 || used_ + width > size_) {
            used_ = size_;
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= std::uint32_t(data_[used_++]) << (8 * i);
        }
        return value % n;
    }
    bool exhausted() const { return used_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Never destroyed: libFuzzer leaves through exit(), after Qt's thread storage is gone.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    monkey::Player player([&bytes](std::uint32_t n) { return bytes.draw(n); });
    player.start(bytes.draw(1u << 24));
    while (!bytes.exhausted()) {
        const QString broken = player.step();
        if (!broken.isEmpty()) {
            std::fprintf(stderr, "event %ld (%s): %s\n", player.tally().events,
                         qPrintable(player.lastEvent()), qPrintable(broken));
            std::abort();
        }
    }
    return 0;
}
