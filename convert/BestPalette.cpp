#include "convert/BestPalette.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "convert/LinearLight.h"

namespace {

// Every palette is tried on a small copy of the picture; the few best are tried again on a
// larger one, which settles the close calls.
constexpr double kFirstRoundPixels = 1024.0;
constexpr double kFinalRoundPixels = 4096.0;
constexpr std::size_t kFinalists = 6;

LinearPicture ReducedTo(const LinearPicture& picture, double pixels) {
    const double area = static_cast<double>(picture.width) * picture.height;
    const double shrink = std::max(1.0, std::sqrt(area / pixels));
    return Reduced(picture, std::max(1, static_cast<int>(std::lround(picture.width / shrink))),
                   std::max(1, static_cast<int>(std::lround(picture.height / shrink))));
}

// The eye blends a dither over a few pixels; each 2 x 2 block's mean colour is what is compared.
constexpr int kBlock = 2;

struct Blocks {
    int width = 0;
    int height = 0;
    std::vector<float> rgb;
};

Blocks Zeroed(const LinearPicture& picture) {
    Blocks blocks;
    blocks.width = (picture.width + kBlock - 1) / kBlock;
    blocks.height = (picture.height + kBlock - 1) / kBlock;
    blocks.rgb.assign(3 * static_cast<std::size_t>(blocks.width) * blocks.height, 0.0f);
    return blocks;
}

// The mean colour of each block, in CIELAB; add(x, y, rgb) has filled the sums.
std::vector<Lab> BlockLab(const Blocks& blocks, const LinearPicture& picture) {
    std::vector<Lab> out;
    out.reserve(blocks.rgb.size() / 3);
    for (int by = 0; by < blocks.height; ++by) {
        const int rows = std::min(kBlock, picture.height - by * kBlock);
        for (int bx = 0; bx < blocks.width; ++bx) {
            const int columns = std::min(kBlock, picture.width - bx * kBlock);
            const float* sum = &blocks.rgb[3 * (static_cast<std::size_t>(by) * blocks.width + bx)];
            const float count = static_cast<float>(rows * columns);
            out.push_back(LabOfLinear(sum[0] / count, sum[1] / count, sum[2] / count));
        }
    }
    return out;
}

std::vector<Lab> SourceBlocks(const LinearPicture& picture) {
    Blocks blocks = Zeroed(picture);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            float* sum =
                &blocks.rgb[3 * (static_cast<std::size_t>(y / kBlock) * blocks.width + x / kBlock)];
            const float* p = picture.Pixel(x, y);
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
        }
    }
    return BlockLab(blocks, picture);
}

double MeanDifference(const std::vector<Lab>& wanted, const LinearPicture& picture,
                      const Palette& palette, Diffusion kernel) {
    const std::vector<std::uint8_t> logical = DiffuseOntoPalette(picture, palette, kernel);
    Blocks blocks = Zeroed(picture);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int physical =
                palette.physical[logical[static_cast<std::size_t>(y) * picture.width + x]];
            float* sum =
                &blocks.rgb[3 * (static_cast<std::size_t>(y / kBlock) * blocks.width + x / kBlock)];
            for (int c = 0; c < 3; ++c) sum[c] += static_cast<float>((physical >> c) & 1);
        }
    }
    const std::vector<Lab> got = BlockLab(blocks, picture);
    double total = 0;
    for (std::size_t i = 0; i < got.size(); ++i)
        total += std::sqrt(SquaredDistance(got[i], wanted[i]));
    return got.empty() ? 0.0 : total / static_cast<double>(got.size());
}

Diffusion ScoringKernel(Diffusion kernel) {
    return kernel == Diffusion::Off ? Diffusion::FloydSteinberg : kernel;
}

struct Ranked {
    double score;
    Palette palette;
};

// The candidates ranked by their score on the picture, best first.
std::vector<Ranked> Rank(const std::vector<Palette>& candidates, const LinearPicture& picture,
                         Diffusion kernel) {
    const std::vector<Lab> wanted = SourceBlocks(picture);
    std::vector<Ranked> ranked;
    for (const Palette& candidate : candidates) {
        ranked.push_back({MeanDifference(wanted, picture, candidate, kernel), candidate});
    }
    // Stable, so equal scores keep the candidates' order.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score < b.score; });
    return ranked;
}

}  // namespace

double DiffusedDifference(const LinearPicture& picture, const Palette& palette, Diffusion kernel) {
    return MeanDifference(SourceBlocks(picture), picture, palette, ScoringKernel(kernel));
}

Palette BestPalette(const LinearPicture& picture, int colourCount, Diffusion kernel) {
    kernel = ScoringKernel(kernel);
    std::vector<Palette> candidates;
    // Each subset of the eight colours with colourCount members, as a bit mask.
    for (unsigned mask = 0; mask < 256; ++mask) {
        if (std::popcount(mask) != colourCount) continue;
        Palette candidate;
        for (int colour = 0; colour < 8; ++colour) {
            if (mask & (1u << colour))
                candidate.physical.push_back(static_cast<std::uint8_t>(colour));
        }
        candidates.push_back(candidate);
    }
    const std::vector<Ranked> first =
        Rank(candidates, ReducedTo(picture, kFirstRoundPixels), kernel);
    std::vector<Palette> finalists;
    for (std::size_t i = 0; i < std::min(kFinalists, first.size()); ++i) {
        finalists.push_back(first[i].palette);
    }
    return Rank(finalists, ReducedTo(picture, kFinalRoundPixels), kernel).front().palette;
}
