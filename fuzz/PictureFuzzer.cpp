// libFuzzer target: picture bytes through loading, sampling, conversion and encoding.
#include <QCoreApplication>

#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);  // for the image format plugins
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunPictureInput(data, size);
    return 0;
}
