// A full conversion as the Convert command runs it, minus the file: InitTables,
// BuildThresholdTable and EncodeScreen into memory with the preview plotted.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "convert/ConversionSettings.h"
#include "convert/Module1.h"
#include "platform/picture/PictureBox.h"
#include "screen/EncodeScreen.h"

namespace {

class MemorySink : public ScreenSink {
public:
    void Put(const std::uint8_t* bytes, std::size_t count) override {
        data.insert(data.end(), bytes, bytes + count);
    }
    std::vector<std::uint8_t> data;
};

// A photograph-like grid: smooth gradients with some texture, every level in use.
void FillGrid() {
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 320; ++x) {
            const double wave = 60.0 * std::sin(x * 0.07) * std::cos(y * 0.05);
            const auto level = [&](double base) {
                return static_cast<std::int16_t>(
                    std::clamp(base + wave + (x * 31 + y * 17) % 23, 0.0, 255.0));
            };
            Module1::SampleGrid.BluePlane(x, y) = level(x * 0.8);
            Module1::SampleGrid.GreenPlane(x, y) = level(y);
            Module1::SampleGrid.RedPlane(x, y) = level(255.0 - x * 0.5);
        }
    }
}

void Conversion(benchmark::State& state) {
    ConversionSettings = kStartSettings;
    ConversionSettings.ScreenMode = static_cast<std::int16_t>(state.range(0));
    ConversionSettings.ToneStyle = static_cast<std::int16_t>(state.range(1));
    ConversionSettings.StaggerOn = static_cast<std::int16_t>(state.range(2));
    FillGrid();
    PictureBox preview(320, 256);
    MemorySink sink;
    sink.data.reserve(20480);
    for (auto _ : state) {
        sink.data.clear();
        Module1::InitTables();
        Module1::BuildThresholdTable();
        EncodeScreen(sink, preview);
        benchmark::DoNotOptimize(sink.data.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(sink.data.size()));
}

BENCHMARK(Conversion)
    ->ArgNames({"mode", "tone", "stagger"})
    ->ArgsProduct({{0, 1, 2, 4, 5}, {0, 1}, {0}})
    ->Args({2, 3, 1})
    ->Args({0, 4, 1})
    ->Unit(benchmark::kMicrosecond);

// The picture choices: error diffusion with the best palette (ToneStyle stands for the kernel).
void ConversionDiffusedBestPalette(benchmark::State& state) {
    ConversionSettings = kStartSettings;
    ConversionSettings.ScreenMode = static_cast<std::int16_t>(state.range(0));
    ConversionSettings.Diffusion = static_cast<std::int16_t>(state.range(1));
    ConversionSettings.PaletteChoice = kBestPalette;
    FillGrid();
    PictureBox preview(320, 256);
    MemorySink sink;
    for (auto _ : state) {
        sink.data.clear();
        Module1::InitTables();
        Module1::BuildThresholdTable();
        benchmark::DoNotOptimize(EncodeScreen(sink, preview));
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
