#include "convert/BestPalette.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "colour/ColourDifference.h"
#include "colour/LinearLight.h"
#include "convert/SearchedDither.h"
#include "sample/Samples.h"

namespace {

// A dither looks the same on a small piece of a picture as on the whole of it, which is not true
// of a reduced copy: palettes are tried on tiles cut from the picture at its own resolution,
// spread over it. Every palette is tried on a few tiles; the few best again on many, which
// settles the close calls.
constexpr int kTileLines = 16;
constexpr int kFirstRoundTiles = 6;
constexpr int kFinalRoundTiles = 32;
constexpr std::size_t kFinalists = 6;
constexpr int kFinalSweeps = 2;

// The eye blends a dither over a few pixels: what is compared is the mean colour of blocks four
// lines tall and as wide on the monitor as they are tall.
constexpr int kBlockLines = 4;

// The screen's 256 lines fill a 4:3 monitor, whatever the MODE's pixels across: lines tall is
// this many pixels wide on it.
int ColumnsFor(int lines, const LinearPicture& picture) {
    constexpr double kScreenAspect = 4.0 / 3.0;
    const double across =
        lines * static_cast<double>(picture.width) / (kScreenAspect * std::max(1, picture.height));
    return std::clamp(static_cast<int>(std::lround(across)), 1, std::max(1, picture.width));
}

LinearPicture Cut(const LinearPicture& picture, int left, int top, int width, int height) {
    LinearPicture tile(width, height);
    for (int y = 0; y < height; ++y) {
        std::copy_n(picture.Pixel(left, top + y), 3 * width, tile.Pixel(0, y));
    }
    return tile;
}

// count tiles spread evenly down the picture and, by the golden ratio, across it; all of them
// when the picture holds no more.
std::vector<LinearPicture> Tiles(const LinearPicture& picture, int count) {
    const int height = std::min(kTileLines, picture.height);
    const int width = std::min(ColumnsFor(kTileLines, picture), picture.width);
    const int across = std::max(1, picture.width / width);
    const int down = std::max(1, picture.height / height);
    std::vector<LinearPicture> tiles;
    if (across * down <= count) {
        for (int ty = 0; ty < down; ++ty) {
            for (int tx = 0; tx < across; ++tx)
                tiles.push_back(Cut(picture, tx * width, ty * height, width, height));
        }
        return tiles;
    }
    constexpr double kGolden = 0.6180339887498949;
    for (int j = 0; j < count; ++j) {
        const double spread = std::fmod(j * kGolden + 0.5, 1.0);
        const int tx = std::min(across - 1, static_cast<int>(spread * across));
        const int ty = std::min(down - 1, static_cast<int>((j + 0.5) * down / count));
        tiles.push_back(Cut(picture, tx * width, ty * height, width, height));
    }
    return tiles;
}

// The mean colour of each block of a tile, in CIELAB: colourAt(x, y) gives a pixel's linear
// colour.
template <typename ColourAt>
std::vector<CielabColour> BlockColours(const LinearPicture& tile, int blockWidth,
                                       ColourAt colourAt) {
    std::vector<CielabColour> blocks;
    for (int top = 0; top < tile.height; top += kBlockLines) {
        const int bottom = std::min(tile.height, top + kBlockLines);
        for (int left = 0; left < tile.width; left += blockWidth) {
            const int right = std::min(tile.width, left + blockWidth);
            float sum[3] = {0, 0, 0};
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    const std::array<float, 3> rgb = colourAt(x, y);
                    for (int c = 0; c < 3; ++c) sum[c] += rgb[c];
                }
            }
            const float count = static_cast<float>((bottom - top) * (right - left));
            const Lab lab = LabOfLinear(sum[0] / count, sum[1] / count, sum[2] / count);
            blocks.push_back({lab.L, lab.a, lab.b});
        }
    }
    return blocks;
}

// The tiles, and the block colours the diffused tiles are compared with.
struct Sample {
    std::vector<LinearPicture> tiles;
    std::vector<std::vector<CielabColour>> wanted;
    int blockWidth = 1;
    double pixelsPerGridColumn = 1;  // for the searched dither
    int searchSweeps = 0;            // for the searched dither: 0 scores its start
};

Sample SampleOf(std::vector<LinearPicture> tiles, int blockWidth) {
    Sample sample{std::move(tiles), {}, blockWidth};
    for (const LinearPicture& tile : sample.tiles) {
        sample.wanted.push_back(BlockColours(tile, blockWidth, [&](int x, int y) {
            const float* p = tile.Pixel(x, y);
            return std::array<float, 3>{p[0], p[1], p[2]};
        }));
    }
    return sample;
}

// The searched dither's own objective over the sample's tiles, after `sweeps` sweeps.
double MeanObjective(const Sample& sample, const Palette& palette, int sweeps) {
    double total = 0;
    double pixels = 0;
    for (const LinearPicture& tile : sample.tiles) {
        const double count = static_cast<double>(tile.width) * tile.height;
        total += count * SearchedObjective(tile, palette, sample.pixelsPerGridColumn, sweeps);
        pixels += count;
    }
    return pixels == 0 ? 0.0 : total / pixels;
}

// The mean CIEDE2000 difference between the blocks of the sample's tiles and of their
// diffusion onto the palette; for the searched dither, its own objective.
double MeanDifference(const Sample& sample, const Palette& palette, Diffusion kernel) {
    if (kernel == Diffusion::Search) return MeanObjective(sample, palette, sample.searchSweeps);
    double total = 0;
    std::size_t blocks = 0;
    for (std::size_t t = 0; t < sample.tiles.size(); ++t) {
        const LinearPicture& tile = sample.tiles[t];
        const std::vector<std::uint8_t> logical = DiffuseOntoPalette(tile, palette, kernel);
        const std::vector<CielabColour> got =
            BlockColours(tile, sample.blockWidth, [&](int x, int y) {
                const int physical =
                    palette.physical[logical[static_cast<std::size_t>(y) * tile.width + x]];
                return std::array<float, 3>{static_cast<float>(physical & 1),
                                            static_cast<float>((physical >> 1) & 1),
                                            static_cast<float>((physical >> 2) & 1)};
            });
        for (std::size_t i = 0; i < got.size(); ++i)
            total += Ciede2000(got[i], sample.wanted[t][i]);
        blocks += got.size();
    }
    return blocks == 0 ? 0.0 : total / static_cast<double>(blocks);
}

Diffusion ScoringKernel(Diffusion kernel) {
    return kernel == Diffusion::Off ? Diffusion::FloydSteinberg : kernel;
}

struct Ranked {
    double score;
    Palette palette;
};

// The candidates ranked by their score on the sample, best first.
std::vector<Ranked> Rank(const std::vector<Palette>& candidates, const Sample& sample,
                         Diffusion kernel) {
    std::vector<Ranked> ranked;
    for (const Palette& candidate : candidates) {
        ranked.push_back({MeanDifference(sample, candidate, kernel), candidate});
    }
    // Stable, so equal scores keep the candidates' order.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score < b.score; });
    return ranked;
}

}  // namespace

double DiffusedDifference(const LinearPicture& picture, const Palette& palette, Diffusion kernel) {
    return MeanDifference(SampleOf({picture}, ColumnsFor(kBlockLines, picture)), palette,
                          ScoringKernel(kernel));
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
    const int blockWidth = ColumnsFor(kBlockLines, picture);
    Sample firstSample = SampleOf(Tiles(picture, kFirstRoundTiles), blockWidth);
    Sample finalSample = SampleOf(Tiles(picture, kFinalRoundTiles), blockWidth);
    // The searched dither's palettes are ranked by its start, the finalists by what the search
    // makes of them.
    firstSample.pixelsPerGridColumn = finalSample.pixelsPerGridColumn =
        picture.width / static_cast<double>(kGridColumns);
    finalSample.searchSweeps = kFinalSweeps;
    const std::vector<Ranked> first = Rank(candidates, firstSample, kernel);
    std::vector<Palette> finalists;
    for (std::size_t i = 0; i < std::min(kFinalists, first.size()); ++i) {
        finalists.push_back(first[i].palette);
    }
    return Rank(finalists, finalSample, kernel).front().palette;
}
