#pragma once

// A reader of UEF tape images of cassette filing system files, written from the formats'
// definitions for the tests: it checks each block's CRCs and sequence and gives back the files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct ReadTapeFile {
    std::string name;
    std::uint32_t load = 0, exec = 0;
    std::vector<std::uint8_t> data;
    std::vector<int> carriers;  // the carrier tone's cycles before each block
};

// CRC-16 by long division: the message, then 16 zero bits, divided by x^16 + x^12 + x^5 + 1.
inline std::uint16_t DividedCrc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t remainder = 0;
    const auto shiftIn = [&](int bit) {
        remainder = remainder << 1 | static_cast<std::uint32_t>(bit);
        if (remainder & 0x10000) remainder ^= 0x11021;
    };
    for (std::size_t i = 0; i < size; ++i) {
        for (int bit = 7; bit >= 0; --bit) shiftIn(bytes[i] >> bit & 1);
    }
    for (int bit = 0; bit < 16; ++bit) shiftIn(0);
    return static_cast<std::uint16_t>(remainder);
}

inline std::uint32_t Little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
    return value;
}

// The files on the tape; every fault found is a test failure.
inline std::vector<ReadTapeFile> ReadUefFiles(const std::vector<std::uint8_t>& uef) {
    std::vector<ReadTapeFile> files;
    EXPECT_EQ(std::string(uef.begin(), uef.begin() + 10), std::string("UEF File!\0", 10));
    EXPECT_EQ(uef[10], 10);  // version 0.10
    EXPECT_EQ(uef[11], 0);
    int carrier = 0;
    bool fileOpen = false;
    for (std::size_t at = 12; at < uef.size();) {
        const std::uint32_t id = Little(uef, at, 2);
        const std::uint32_t length = Little(uef, at + 2, 4);
        const std::vector<std::uint8_t> chunk(
            uef.begin() + static_cast<std::ptrdiff_t>(at + 6),
            uef.begin() + static_cast<std::ptrdiff_t>(at + 6 + length));
        at += 6 + length;
        if (id == 0x0110) {
            carrier = static_cast<int>(Little(chunk, 0, 2));
            continue;
        }
        if (id == 0x0112) {
            EXPECT_FALSE(fileOpen) << "a gap inside a file";
            continue;
        }
        EXPECT_EQ(id, 0x0100u) << "an unexpected chunk";
        if (id != 0x0100u) continue;
        EXPECT_EQ(chunk[0], 0x2A) << "sync byte";
        const std::size_t nul = std::find(chunk.begin() + 1, chunk.end(), 0) - chunk.begin();
        const std::string name(chunk.begin() + 1, chunk.begin() + static_cast<std::ptrdiff_t>(nul));
        const std::size_t header = nul + 1;
        const std::uint32_t number = Little(chunk, header + 8, 2);
        const std::uint32_t size = Little(chunk, header + 10, 2);
        const std::uint8_t flags = chunk[header + 12];
        const std::size_t crc = header + 17;
        EXPECT_EQ(Little(chunk, header + 13, 4), 0u) << "spare bytes";
        EXPECT_EQ(chunk[crc] << 8 | chunk[crc + 1], DividedCrc(chunk.data() + 1, crc - 1))
            << name << " block " << number << " header CRC";
        EXPECT_EQ(chunk.size(), crc + 2 + (size ? size + 2 : 0)) << name << " block length";
        if (size > 0) {
            EXPECT_EQ(chunk[crc + 2 + size] << 8 | chunk[crc + 3 + size],
                      DividedCrc(chunk.data() + crc + 2, size))
                << name << " block " << number << " data CRC";
        }
        if (number == 0) {
            files.push_back({name, Little(chunk, header, 4), Little(chunk, header + 4, 4), {}, {}});
        }
        ReadTapeFile& file = files.back();
        EXPECT_EQ(file.name, name);
        EXPECT_EQ(number * 256, file.data.size()) << name << " blocks in order, full but the last";
        file.data.insert(file.data.end(), chunk.begin() + static_cast<std::ptrdiff_t>(crc + 2),
                         chunk.begin() + static_cast<std::ptrdiff_t>(crc + 2 + size));
        file.carriers.push_back(carrier);
        carrier = 0;
        fileOpen = (flags & 0x80) == 0;
        EXPECT_EQ(flags & 0x40, size == 0 ? 0x40 : 0) << "the empty-block flag";
    }
    EXPECT_FALSE(fileOpen) << "the last file has no last block";
    return files;
}
