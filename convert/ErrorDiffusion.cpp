#include "convert/ErrorDiffusion.h"

#include <algorithm>
#include <array>
#include <limits>

#include "colour/LinearLight.h"

namespace {

// Where a share of the error goes: dx along the row in the direction of travel, dy rows down.
struct Tap {
    int dx;
    int dy;
    float weight;
};

constexpr std::array<Tap, 4> kFloydSteinberg{
    {{1, 0, 7 / 16.0f}, {-1, 1, 3 / 16.0f}, {0, 1, 5 / 16.0f}, {1, 1, 1 / 16.0f}}};
// Passes on only six eighths of the error: fine detail survives, flat areas stay clean.
constexpr std::array<Tap, 6> kAtkinson{{{1, 0, 1 / 8.0f},
                                        {2, 0, 1 / 8.0f},
                                        {-1, 1, 1 / 8.0f},
                                        {0, 1, 1 / 8.0f},
                                        {1, 1, 1 / 8.0f},
                                        {0, 2, 1 / 8.0f}}};
constexpr std::array<Tap, 7> kSierraTwoRow{{{1, 0, 4 / 16.0f},
                                            {2, 0, 3 / 16.0f},
                                            {-2, 1, 1 / 16.0f},
                                            {-1, 1, 2 / 16.0f},
                                            {0, 1, 3 / 16.0f},
                                            {1, 1, 2 / 16.0f},
                                            {2, 1, 1 / 16.0f}}};
constexpr std::array<Tap, 12> kJarvisJudiceNinke{{{1, 0, 7 / 48.0f},
                                                  {2, 0, 5 / 48.0f},
                                                  {-2, 1, 3 / 48.0f},
                                                  {-1, 1, 5 / 48.0f},
                                                  {0, 1, 7 / 48.0f},
                                                  {1, 1, 5 / 48.0f},
                                                  {2, 1, 3 / 48.0f},
                                                  {-2, 2, 1 / 48.0f},
                                                  {-1, 2, 3 / 48.0f},
                                                  {0, 2, 5 / 48.0f},
                                                  {1, 2, 3 / 48.0f},
                                                  {2, 2, 1 / 48.0f}}};

constexpr int kReach = 2;  // the furthest any kernel reaches sideways or down

// How far past 0..1 a pixel's colour plus error may go. Within the palette's reach the error of
// a good kernel stays well inside this; a colour out of reach (blue without blue) would pile up
// error without end.
constexpr float kSlack = 1.0f;

struct PaletteColour {
    float rgb[3];
    Lab lab;
};

std::vector<PaletteColour> ColoursOf(const Palette& palette) {
    std::vector<PaletteColour> colours;
    for (const std::uint8_t physical : palette.physical) {
        PaletteColour colour{};
        colour.rgb[0] = (physical & 1) ? 1.0f : 0.0f;
        colour.rgb[1] = (physical & 2) ? 1.0f : 0.0f;
        colour.rgb[2] = (physical & 4) ? 1.0f : 0.0f;
        colour.lab = LabOfLinear(colour.rgb[0], colour.rgb[1], colour.rgb[2]);
        colours.push_back(colour);
    }
    return colours;
}

// The palette colour nearest to a colour, in CIELAB or (kInLinearLight) in linear light.
template <bool kInLinearLight>
std::size_t Nearest(const float* wanted, const std::vector<PaletteColour>& colours) {
    const auto distance = [&](const PaletteColour& colour) {
        if constexpr (kInLinearLight) {
            const float dr = wanted[0] - colour.rgb[0], dg = wanted[1] - colour.rgb[1],
                        db = wanted[2] - colour.rgb[2];
            return dr * dr + dg * dg + db * db;
        } else {
            return SquaredDistance(LabOfLinear(wanted[0], wanted[1], wanted[2]), colour.lab);
        }
    };
    std::size_t best = 0;
    float bestDistance = distance(colours[0]);
    for (std::size_t c = 1; c < colours.size(); ++c) {
        const float d = distance(colours[c]);
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    return best;
}

// The kernel is a template argument so that its taps unroll. Each channel of the error handed
// on is cut to +-errorLimit (no limit when infinite).
template <std::size_t kTaps, bool kInLinearLight = false>
std::vector<std::uint8_t> Diffuse(const LinearPicture& picture,
                                  const std::vector<PaletteColour>& colours,
                                  const std::array<Tap, kTaps>& taps,
                                  float errorLimit = std::numeric_limits<float>::infinity()) {
    const int width = picture.width;
    std::vector<std::uint8_t> logical(static_cast<std::size_t>(width) * picture.height);

    // The error waiting for the current row and the two below it, with room for the kernel to
    // reach past either edge; the rows take turns.
    const int stride = 3 * (width + 2 * kReach);
    std::vector<float> errors(static_cast<std::size_t>(stride) * (kReach + 1), 0.0f);
    const auto errorRow = [&](int y) { return errors.data() + (y % (kReach + 1)) * stride; };

    for (int y = 0; y < picture.height; ++y) {
        const bool rightward = y % 2 == 0;
        const int step = rightward ? 1 : -1;
        float* rows[kReach + 1] = {errorRow(y), errorRow(y + 1), errorRow(y + 2)};
        for (int i = 0; i < width; ++i) {
            const int x = rightward ? i : width - 1 - i;
            const float* source = picture.Pixel(x, y);
            const float* waiting = rows[0] + 3 * (x + kReach);
            // The error a pixel hands on is measured from its unclamped colour, so that light is
            // kept; only far out of range (a colour the palette cannot reach) is it cut back.
            const float wanted[3] = {std::clamp(source[0] + waiting[0], -kSlack, 1 + kSlack),
                                     std::clamp(source[1] + waiting[1], -kSlack, 1 + kSlack),
                                     std::clamp(source[2] + waiting[2], -kSlack, 1 + kSlack)};
            const std::size_t best = Nearest<kInLinearLight>(wanted, colours);
            logical[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(best);

            const float error[3] = {
                std::clamp(wanted[0] - colours[best].rgb[0], -errorLimit, errorLimit),
                std::clamp(wanted[1] - colours[best].rgb[1], -errorLimit, errorLimit),
                std::clamp(wanted[2] - colours[best].rgb[2], -errorLimit, errorLimit)};
            for (const Tap& tap : taps) {
                float* target = rows[tap.dy] + 3 * (x + step * tap.dx + kReach);
                target[0] += error[0] * tap.weight;
                target[1] += error[1] * tap.weight;
                target[2] += error[2] * tap.weight;
            }
        }
        // This row's slot serves the row three below next.
        std::fill(rows[0], rows[0] + stride, 0.0f);
    }
    return logical;
}

}  // namespace

std::vector<std::uint8_t> DiffuseOntoPalette(const LinearPicture& picture, const Palette& palette,
                                             Diffusion kernel) {
    const std::vector<PaletteColour> colours = ColoursOf(palette);
    switch (kernel) {
        case Diffusion::Atkinson:
            return Diffuse(picture, colours, kAtkinson);
        case Diffusion::Sierra:
            return Diffuse(picture, colours, kSierraTwoRow);
        case Diffusion::JarvisJudiceNinke:
            return Diffuse(picture, colours, kJarvisJudiceNinke);
        default:
            return Diffuse(picture, colours, kFloydSteinberg);
    }
}

std::vector<std::uint8_t> DiffuseWithLimitedError(const LinearPicture& picture,
                                                  const Palette& palette, float errorLimit) {
    return Diffuse<kFloydSteinberg.size(), true>(picture, ColoursOf(palette), kFloydSteinberg,
                                                 errorLimit);
}
