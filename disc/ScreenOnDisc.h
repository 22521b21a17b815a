#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "compress/UnpackRoutine.h"
#include "disc/BootScript.h"

// A screen as a file on a disc or tape: as it is, loaded straight into screen memory, or packed
// (compress/PackFormat.h), loaded just below the screen's end and unpacked there by the 6502
// routine that the loader puts at &900.
struct ScreenOnDisc {
    std::vector<std::uint8_t> data;
    std::uint32_t loadAddress = 0;  // in host memory, &FFFFxxxx
    bool packed = false;
    // For a packed screen: the address just past the file, where the routine starts reading.
    std::uint32_t packedEnd = 0;
};

// The room below the screen that the loader keeps free for the start of a packed file: it moves
// BASIC's HIMEM, below which BASIC keeps its stack, that far down.
inline constexpr int kPackedFileRoom = 256;

// The file name of the unpacking routine; no picture's DFS name has a '!'.
inline constexpr const char* kUnpackFileName = "!UNPACK";
// Where it loads and runs, in host memory, on a disc or a tape.
inline constexpr std::uint32_t kUnpackFileAddress = 0xFFFF0000 | kUnpackRoutineAddress;

// A packed screen that does not unpack to the screen it was made from.
class PackingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file for a screen of that MODE. With compress, the screen is packed and unpacked again by
// the model of the 6502 routine; it stays as it is when packing needs more room below the screen
// than the loader leaves (kPackedFileRoom), or saves too little: on a tape less than a block, on
// a disc less reading time than unpacking takes (see ScreenOnDisc.cpp). Raises PackingError when
// the packed screen would not unpack to this screen, and std::invalid_argument when the screen is
// not as long as its MODE's.
ScreenOnDisc ScreenFileFor(const std::vector<std::uint8_t>& screen, int screenMode, bool compress,
                           LoaderMedium medium = LoaderMedium::Disc);

// As ScreenFileFor with compress, for a packed form made elsewhere: what the disc would hold.
ScreenOnDisc CheckedPackedFile(const std::vector<std::uint8_t>& screen, int screenMode,
                               const std::vector<std::uint8_t>& packed,
                               LoaderMedium medium = LoaderMedium::Disc);

// The sectors a screen takes on a disc, packed or not: what a capacity meter counts.
int ScreenSectors(const std::vector<std::uint8_t>& screen, int screenMode, bool compress);
