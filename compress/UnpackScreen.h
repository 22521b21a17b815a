#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// What the 6502 routine (unpack.s) makes of a packed file, worked out byte for byte in the order
// the routine reads and writes.
struct Unpacked {
    std::vector<std::uint8_t> screen;
    // How many bytes below the screen's first byte the file must start so that no byte is written
    // over a byte of the file not yet read: the file is loaded at the screen's start minus this.
    int slack = 0;
    // The routine's tokens, for its running time: literal runs, copies from the last offset,
    // copies from a new offset.
    int literalRuns = 0;
    int repeats = 0;
    int matches = 0;
    // The routine's running time in 6502 cycles, from the cycles of its instructions for each
    // kind of token and each byte copied (page crossings left out): within a few per cent of
    // what it takes on the emulated BBC Micro.
    long Cycles() const;
};

// Unpacks packed into screenBytes bytes of screen memory. Returns nothing when the routine would
// go wrong on it: a token that reads past the start of the file or writes past the start of the
// screen, a copy from before the first byte written, a copy from the last offset before there is
// one, or bytes left over once the screen is full. Never raises for any input.
std::optional<Unpacked> UnpackScreen(const std::vector<std::uint8_t>& packed,
                                     std::size_t screenBytes);
