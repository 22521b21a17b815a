#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

// Raised when a table is indexed outside its declared bounds.
class SubscriptOutOfRange : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// A fixed-size table with lower bound 0 and inclusive upper bounds in every dimension. The first
// index varies fastest, so element (x, y) of a (0..W, 0..H) table lies at x + (W + 1) * y. Every
// access is checked: an index outside the bounds raises SubscriptOutOfRange instead of reaching
// outside the table.
template <typename T, int... Upper>
class BoundedTable {
public:
    static constexpr std::size_t kRank = sizeof...(Upper);
    static constexpr std::array<int, kRank> kUpperBounds{Upper...};
    static constexpr std::size_t kSize = (std::size_t{Upper + 1} * ...);

    template <typename... Index>
    requires(sizeof...(Index) == kRank) T& operator()(Index... index) {
        return cells_[Offset({static_cast<long long>(index)...})];
    }

    template <typename... Index>
    requires(sizeof...(Index) == kRank) const T& operator()(Index... index) const {
        return cells_[Offset({static_cast<long long>(index)...})];
    }

    // Unchecked storage, for loops whose bounds have been checked once beforehand.
    T* Data() { return cells_.data(); }
    const T* Data() const { return cells_.data(); }

    void Clear() { cells_.fill(T{}); }

private:
    static std::size_t Offset(const std::array<long long, kRank>& index) {
        std::size_t offset = 0;
        std::size_t stride = 1;
        for (std::size_t d = 0; d < kRank; ++d) {
            if (index[d] < 0 || index[d] > kUpperBounds[d])
                throw SubscriptOutOfRange(Describe(index));
            offset += static_cast<std::size_t>(index[d]) * stride;
            stride *= static_cast<std::size_t>(kUpperBounds[d]) + 1;
        }
        return offset;
    }

    static std::string Describe(const std::array<long long, kRank>& index) {
        std::string given;
        std::string bounds;
        for (std::size_t d = 0; d < kRank; ++d) {
            const char* sep = d == 0 ? "" : ", ";
            // Appended piece by piece: GCC 12 misreads "sep + string" at -O3 (-Wrestrict).
            given.append(sep).append(std::to_string(index[d]));
            bounds.append(sep).append("0..").append(std::to_string(kUpperBounds[d]));
        }
        return "subscript out of range: (" + given + ") outside (" + bounds + ")";
    }

    std::array<T, kSize> cells_{};
};
