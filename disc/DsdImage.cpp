#include "disc/DsdImage.h"

#include <stdexcept>

#include "disc/DfsCatalogue.h"

std::vector<std::uint8_t> InterleaveSides(const std::vector<std::uint8_t>& side0,
                                          const std::vector<std::uint8_t>& side1) {
    constexpr std::size_t kTrackBytes = kDfsSectorsPerTrack * kDfsSectorBytes;
    if (side0.size() != side1.size() || side0.size() % kTrackBytes != 0) {
        throw std::invalid_argument("the two sides of a disc must be whole tracks of one size");
    }
    std::vector<std::uint8_t> image;
    image.reserve(2 * side0.size());
    for (std::size_t track = 0; track < side0.size(); track += kTrackBytes) {
        for (const auto* side : {&side0, &side1}) {
            const auto start = side->begin() + static_cast<std::ptrdiff_t>(track);
            image.insert(image.end(), start, start + kTrackBytes);
        }
    }
    return image;
}
