// Conversions as every front end runs them: Convert(samples, choices), the screen encoded once
// with its preview drawn.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "convert/Convert.h"

namespace {

// A photograph-like grid: smooth gradients with some texture, every level in use.
Samples PhotoLikeSamples() {
    std::vector<std::int32_t> colours;
    for (int y = 0; y < kGridRows; ++y) {
        for (int x = 0; x < kGridColumns; ++x) {
            const double wave = 60.0 * std::sin(x * 0.07) * std::cos(y * 0.05);
            const auto level = [&](double base) {
                return static_cast<std::int32_t>(
                    std::clamp(base + wave + (x * 31 + y * 17) % 23, 0.0, 255.0));
            };
            colours.push_back(level(255.0 - x * 0.5) | level(y) << 8 | level(x * 0.8) << 16);
        }
    }
    return Samples(std::move(colours));
}

void Conversion(benchmark::State& state) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(state.range(0));
    choices.halftone = static_cast<Halftone>(state.range(1));
    choices.stagger = state.range(2) != 0;
    const Samples samples = PhotoLikeSamples();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const EncodedScreen screen = Convert(samples, choices);
        bytes = screen.bytes.size();
        benchmark::DoNotOptimize(screen.bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

BENCHMARK(Conversion)
    ->ArgNames({"mode", "tone", "stagger"})
    ->ArgsProduct({{0, 1, 2, 4, 5}, {0, 1}, {0}})
    ->Args({2, 3, 1})
    ->Args({0, 4, 1})
    ->Unit(benchmark::kMicrosecond);

// The picture choices: error diffusion with the best palette.
void ConversionDiffusedBestPalette(benchmark::State& state) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(state.range(0));
    choices.diffusion = static_cast<Diffusion>(state.range(1));
    choices.palette = PaletteChoice::Best;
    const Samples samples = PhotoLikeSamples();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Convert(samples, choices));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(ConversionDiffusedBestPalette)
    ->ArgNames({"mode", "kernel"})
    ->ArgsProduct({{0, 1, 2, 4, 5}, {1, 2}})
    ->Args({1, 3})
    ->Args({1, 4})
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The searched dither, with the MODE's own palette (palette 0) or the best for it (1).
void ConversionSearched(benchmark::State& state) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(state.range(0));
    choices.diffusion = Diffusion::Search;
    choices.palette = static_cast<PaletteChoice>(state.range(1));
    const Samples samples = PhotoLikeSamples();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Convert(samples, choices));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(ConversionSearched)
    ->ArgNames({"mode", "palette"})
    ->ArgsProduct({{0, 1, 2, 5}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
