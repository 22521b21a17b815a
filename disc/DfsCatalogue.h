#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Acorn DFS single-sided discs: 256-byte sectors, 10 to a track, 40 or 80 tracks. Sectors 0 and 1
// hold the catalogue; every file fills consecutive sectors after it.
inline constexpr int kDfsSectorBytes = 256;
inline constexpr int kDfsSectorsPerTrack = 10;
inline constexpr int kDfsCatalogueSectors = 2;
inline constexpr int kDfsMaxFiles = 31;
inline constexpr int kDfsNameLength = 7;
inline constexpr int kDfsTitleLength = 12;

// What SHIFT+BREAK does with the file !BOOT (*OPT 4).
enum class DfsBootOption : std::uint8_t { None = 0, Load = 1, Run = 2, Exec = 3 };

// One file of the catalogue. Addresses are as a BBC Micro shows them: DFS keeps 18 bits, and a
// value with bits 16 and 17 set stands for the host's own memory, &FFFFxxxx, which a second
// processor does not redirect.
struct DfsEntry {
    std::string name;  // 1 to 7 characters
    char directory = '$';
    bool locked = false;
    std::uint32_t loadAddress = 0;
    std::uint32_t execAddress = 0;
    std::uint32_t length = 0;  // in bytes, below 256 KB
    int startSector = 0;
};

struct DfsCatalogue {
    std::string title;  // up to 12 characters
    int cycle = 0;      // writes so far, 0..99, stored as two BCD digits
    DfsBootOption bootOption = DfsBootOption::None;
    int sectorCount = 0;  // sectors on the disc: 400 or 800
    // In the order DFS keeps them: the file that starts highest on the disc first.
    std::vector<DfsEntry> entries;
};

// The two catalogue sectors (512 bytes). The title is padded with spaces, names with spaces.
// Raises std::invalid_argument for a catalogue that DFS could not hold: more than 31 entries, a
// name or title too long, a number outside its field.
std::vector<std::uint8_t> EncodeCatalogue(const DfsCatalogue& catalogue);

// Reads the catalogue at the start of a disc image. Raises std::invalid_argument when the image
// is shorter than the catalogue or its file count is not a multiple of 8 up to 31 files.
DfsCatalogue DecodeCatalogue(const std::uint8_t* image, std::size_t size);

// The sectors that length bytes fill.
inline int SectorsFor(std::size_t length) {
    return static_cast<int>((length + kDfsSectorBytes - 1) / kDfsSectorBytes);
}
