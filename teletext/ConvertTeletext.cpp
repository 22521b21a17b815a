#include "teletext/ConvertTeletext.h"

#include "screen/DisplayTeletext.h"
#include "teletext/RowSolver.h"
#include "teletext/SixelColours.h"

namespace {

// The share of a bottom sixel's error handed to the row below, to the sixel under it (1/2) and
// its two neighbours (1/4 each): 0.3 measured best on the photographs; more makes noise.
constexpr float kHandedOn = 0.3f;

}  // namespace

std::vector<std::uint8_t> SolveTeletextPage(const SixelTargets& picture) {
    SixelTargets targets = picture;
    std::vector<std::uint8_t> page(kTeletextPageBytes);
    RowSolver solver;
    RowTargets rowTargets;
    for (int r = 0; r < kTeletextRows; ++r) {
        for (int pair = 0; pair < kSixelRows; ++pair)
            for (int column = 0; column < kPictureSixelColumns; ++column) {
                const float* rgb = targets.At(column, r * kSixelRows + pair);
                std::copy(rgb, rgb + 3, rowTargets[pair][column].begin());
            }
        const SolvedRow solved = solver.Solve(rowTargets);
        std::copy(solved.bytes.begin(), solved.bytes.end(), page.begin() + r * kTeletextColumns);
        if (r + 1 == kTeletextRows) continue;

        // The bottom sixels' errors go to the top sixels of the next row.
        const TeletextRow shown = DecodeTeletextRow(solved.bytes.data(), false);
        const int bottom = r * kSixelRows + kSixelRows - 1;
        for (int cell = kPictureFirstCell; cell < kTeletextColumns; ++cell) {
            float rgb[kSixelsPerCell][3];
            ShownSixels(shown.cells[cell], rgb);
            for (int half = 0; half < kSixelColumns; ++half) {
                const int column = 2 * (cell - kPictureFirstCell) + half;
                const float* wanted = targets.At(column, bottom);
                for (int k = 0; k < 3; ++k) {
                    const float error = (wanted[k] - rgb[4 + half][k]) * kHandedOn;
                    targets.At(column, bottom + 1)[k] += error / 2;
                    if (column > 0) targets.At(column - 1, bottom + 1)[k] += error / 4;
                    if (column + 1 < kPictureSixelColumns)
                        targets.At(column + 1, bottom + 1)[k] += error / 4;
                }
            }
        }
    }
    return page;
}

EncodedScreen ConvertTeletext(const SamplePlanes& samples) {
    EncodedScreen screen;
    screen.screenMode = ScreenMode::Mode7;
    screen.bytes = SolveTeletextPage(TargetsOf(samples));
    screen.palette = DefaultPalette(ModeNumber(ScreenMode::Mode7));
    screen.preview = HalveDisplay(DisplayTeletext(screen.bytes));
    return screen;
}
