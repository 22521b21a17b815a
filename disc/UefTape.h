#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A file as the BBC Micro's cassette filing system saves it.
struct TapeFile {
    std::string name;  // 1 to 10 characters
    std::uint32_t loadAddress = 0;
    std::uint32_t execAddress = 0;
    std::vector<std::uint8_t> data;
};

// A tape image in the UEF format (version 0.10, not gzipped) that plays the files one after the
// other as the cassette filing system writes them at 1200 baud: each file in blocks of up to 256
// bytes, each block a header (sync byte &2A, the name, load and execution addresses, block
// number, length, flags with bit 7 on the last block, four spare bytes) and the data, each
// followed by its CRC (CRC-16 of polynomial &1021, high byte first), as bytes of one start and
// one stop bit (chunk &0100). A file's first block follows 5.1 seconds of carrier tone and each
// other block 1.1 seconds (chunk &0110); two seconds of silence (chunk &0112) end each file.
// Raises std::invalid_argument for a name of no or more than 10 characters, or with a NUL.
std::vector<std::uint8_t> MakeUefTape(const std::vector<TapeFile>& files);

// The CRC of the cassette filing system over bytes: CRC-16, polynomial &1021, starting at 0.
std::uint16_t TapeCrc(const std::uint8_t* bytes, std::size_t size);
