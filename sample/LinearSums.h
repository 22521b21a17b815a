#pragma once

#include <cstdint>

// Sums of pixels in linear light kept as exact integers (units of 2^-24), so that adding the same
// pixels in any order gives the same mean, to the bit: the window averages a picture it holds,
// the converter the rows of one as they arrive, turned or not, and both must agree.
struct LinearSum {
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;

    LinearSum& operator+=(const LinearSum& other) {
        red += other.red;
        green += other.green;
        blue += other.blue;
        return *this;
    }
};

// Adds pixels [begin, end) of a row whose pixels hold red at bit redShift (0 or 16), green at 8
// and blue at 16 - redShift. The largest picture's sum stays far inside 64 bits: 2^28 pixels of
// at most 2^24 each.
void AddSpan(const std::uint32_t* row, long long begin, long long end, int redShift,
             LinearSum& sum);

// The mean of count pixels that add up to sum, encoded back to sRGB, as a colour value (red in
// bits 0..7); black when count is 0.
std::uint32_t MeanColour(const LinearSum& sum, long long count);
