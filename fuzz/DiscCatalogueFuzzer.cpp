// libFuzzer target: the DFS catalogue reader, and writing back what it read.
#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunDiscCatalogueInput(data, size);
    return 0;
}
