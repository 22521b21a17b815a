#pragma once

#include <cstddef>
#include <cstdint>

// Each entry runs one input through the program's own code as a user's file would go, and stops
// the process (std::abort) when a promise is broken; a refused input is no failure. The libFuzzer
// targets call them, and the test suite replays the saved inputs in fuzz/regressions through them.

// Picture bytes through the row sources (the fallback decoder, Qt's readers in a process of its
// own, left out), which must hand over every row asked for once; and one input in eight loaded
// into a picture box, sampled, converted and encoded, in a MODE, tone, stagger, fit and sampling
// picked from the bytes, and sampled as the converter samples them while they decode, which must
// refuse the same pictures and give the same samples.
void RunPictureInput(const std::uint8_t* data, std::size_t size);

// The text of a registry overlay file: parsed, and every key it names read back.
void RunRegistryOverlayInput(const std::uint8_t* data, std::size_t size);

// The start of a disc image: its DFS catalogue read, and what was read written back and read
// again.
void RunDiscCatalogueInput(const std::uint8_t* data, std::size_t size);

// Bytes as screen memory, packed and unpacked again, which must give them back; and as a packed
// file, unpacked by the model of the 6502 routine, which must refuse it or fill the screen.
void RunPackedScreenInput(const std::uint8_t* data, std::size_t size);
