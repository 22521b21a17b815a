#include <cstdlib>
#include <vector>

#include "compress/PackScreen.h"
#include "compress/UnpackScreen.h"
#include "fuzz/FuzzEntries.h"

namespace {

void Check(bool promise) {
    if (!promise) std::abort();
}

}  // namespace

void RunPackedScreenInput(const std::uint8_t* data, std::size_t size) {
    // As screen memory: packed, it unpacks to itself, and costs at most a byte per 128 more.
    const std::vector<std::uint8_t> screen(data, data + size);
    const std::vector<std::uint8_t> packed = PackScreen(screen);
    Check(packed.size() <= size + (size + 127) / 128);
    const auto unpacked = UnpackScreen(packed, size);
    Check(unpacked && unpacked->screen == screen && unpacked->slack >= 0);

    // As a packed file for a screen as long as its first two bytes say: refused, or whole.
    if (size < 2) return;
    const std::size_t length = (data[0] | data[1] << 8) % 20481;
    const auto read = UnpackScreen({data + 2, data + size}, length);
    Check(!read || (read->screen.size() == length && read->slack >= 0));
}
