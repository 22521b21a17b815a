#pragma once

#include <cstdint>
#include <vector>

#include "app/EncodeScreen.h"
#include "app/Module1.h"
#include "platform/picture/PictureBox.h"
#include "tests/app/module/ConversionState.h"

class MemorySink : public ScreenSink {
public:
    void Put(const std::uint8_t* bytes, std::size_t count) override {
        data.insert(data.end(), bytes, bytes + count);
        ++calls;
    }
    std::vector<std::uint8_t> data;
    int calls = 0;
};

// Runs a whole conversion, as the Convert command does, into memory.
inline std::vector<std::uint8_t> Convert(PictureBox& preview) {
    Module1::InitTables();
    Module1::BuildThresholdTable();
    preview.Cls();
    MemorySink sink;
    EncodeScreen(sink, preview);
    return sink.data;
}

inline std::vector<std::uint8_t> Convert() {
    PictureBox preview(320, 256);
    return Convert(preview);
}
