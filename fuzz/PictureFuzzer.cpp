// libFuzzer target: picture bytes through the row sources, loading, sampling, conversion and
// encoding.
#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunPictureInput(data, size);
    return 0;
}
