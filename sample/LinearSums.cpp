#include "sample/LinearSums.h"

#include <array>
#include <cmath>

#include "colour/LinearLight.h"

namespace {

constexpr double kUnit = 1 << 24;

const std::array<std::uint32_t, 256>& FixedLinearOfLevel() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (int level = 0; level < 256; ++level) {
            t[level] = static_cast<std::uint32_t>(std::lround(LinearOf(level) * kUnit));
        }
        return t;
    }();
    return table;
}

}  // namespace

void AddSpan(const std::uint32_t* row, long long begin, long long end, int redShift,
             LinearSum& sum) {
    const std::array<std::uint32_t, 256>& linear = FixedLinearOfLevel();
    const int blueShift = 16 - redShift;
    std::uint64_t red = 0, green = 0, blue = 0;
    for (long long x = begin; x < end; ++x) {
        const std::uint32_t v = row[x];
        red += linear[(v >> redShift) & 0xFF];
        green += linear[(v >> 8) & 0xFF];
        blue += linear[(v >> blueShift) & 0xFF];
    }
    sum.red += red;
    sum.green += green;
    sum.blue += blue;
}

std::uint32_t MeanColour(const LinearSum& sum, long long count) {
    if (count <= 0) return 0;
    // Every step is exact or rounds the same way whatever order the pixels came in: a 64-bit sum
    // below 2^53 converts to double exactly.
    const auto level = [count](std::uint64_t channel) {
        const double mean = static_cast<double>(channel) / static_cast<double>(count) / kUnit;
        return static_cast<std::uint32_t>(LevelOfLinear(static_cast<float>(mean)));
    };
    return level(sum.red) | level(sum.green) << 8 | level(sum.blue) << 16;
}
