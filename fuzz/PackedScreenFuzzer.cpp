// libFuzzer target: the screen packer and the model of the 6502 routine that unpacks.
#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunPackedScreenInput(data, size);
    return 0;
}
