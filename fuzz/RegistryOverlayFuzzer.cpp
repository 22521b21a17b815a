// libFuzzer target: the registry overlay file's parser.
#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunRegistryOverlayInput(data, size);
    return 0;
}
