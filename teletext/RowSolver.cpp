#include "teletext/RowSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "teletext/SixelColours.h"

namespace {

constexpr float kUnreached = std::numeric_limits<float>::infinity();
constexpr int kColours = 8;

// The states: foreground (0 while still in text, before the first graphics colour), background,
// separated, and Hold. Without Hold a state also says what the last cell was: a code (0) or a
// mosaic with the cell's best pattern (1) or the pattern best for it and the next cell (2),
// which Hold would take up. With Hold it carries the held pattern: each foreground, background
// and set keeps the kHeldSlots cheapest ways there with different held patterns.
constexpr int kHeldSlots = 2;
constexpr int kOffStates = kColours * kColours * 2 * 3;
constexpr int kStates = kOffStates + (kColours - 1) * kColours * 2 * kHeldSlots;

constexpr int Off(int fg, int bg, int separated, int last) {
    return ((fg * kColours + bg) * 2 + separated) * 3 + last;
}
constexpr int OnGroup(int fg, int bg, int separated) {
    return kOffStates + (((fg - 1) * kColours + bg) * 2 + separated) * kHeldSlots;
}

constexpr std::uint8_t kGraphicsColour = 0x90;  // + the colour
constexpr float kPairWeight[kSixelRows] = {3, 4, 3};
constexpr float kCellWeight = 20;  // the pairs' weights, twice over
// How much the error of the cell's mean colour counts beside its sixels' own errors: the eye
// blends a cell's sixels as well as seeing them (0.5 measured best on the photographs).
constexpr float kMeanWeight = 0.5f;

// The sixels of a cell by their height: the four corners (3 dot rows) and the middle two (4).
constexpr int kCorners[4] = {0, 1, 4, 5};
constexpr int kMiddles[2] = {2, 3};

// How many corner and middle sixels a pattern sets.
int Corners(int pattern) {
    return (pattern & 1) + (pattern >> 1 & 1) + (pattern >> 4 & 1) + (pattern >> 5 & 1);
}
int Middles(int pattern) {
    return (pattern >> 2 & 1) + (pattern >> 3 & 1);
}

// The colour a whole cell shows on average, by how many corner and middle sixels are set:
// [separated][fg][bg][corners][middles], in CIELAB.
struct CellMeans {
    Lab lab[2][kColours][kColours][5][3];
    CellMeans() {
        const SixelColours& colours = TheSixelColours();
        for (int sep = 0; sep < 2; ++sep)
            for (int fg = 0; fg < kColours; ++fg)
                for (int bg = 0; bg < kColours; ++bg)
                    for (int corners = 0; corners <= 4; ++corners)
                        for (int middles = 0; middles <= 2; ++middles) {
                            const float share = (corners * 3 * (sep ? SeparatedShare(0) : 1) +
                                                 middles * 4 * (sep ? SeparatedShare(1) : 1)) /
                                                kCellWeight;
                            float rgb[3];
                            for (int k = 0; k < 3; ++k)
                                rgb[k] =
                                    share * colours.pure[fg][k] + (1 - share) * colours.pure[bg][k];
                            lab[sep][fg][bg][corners][middles] =
                                LabOfLinear(rgb[0], rgb[1], rgb[2]);
                        }
    }
};

}  // namespace

struct RowSolver::CellCosts {
    float pure[kSixelsPerCell][kColours];  // each sixel's weighted error in each colour
    float separated[kSixelsPerCell][kColours][kColours];  // set and separated: [fg][bg]
    // The error of the cell's mean colour, by how many corner and middle sixels are set.
    float mean[2][kColours][kColours][5][3];
    float solid[kColours];  // the whole cell in one colour
    // The best pattern in each state [fg][bg][separated], alone (0) and with a held copy in the
    // next cell (1), and what the cell then costs.
    std::uint8_t best[2][kColours][kColours][2];
    float bestCost[2][kColours][kColours][2];

    float On(int s, int fg, int bg, int sep) const {
        return sep ? separated[s][fg][bg] : pure[s][fg];
    }
    float Pattern(int pattern, int fg, int bg, int sep) const {
        float cost = mean[sep][fg][bg][Corners(pattern)][Middles(pattern)];
        for (int s = 0; s < kSixelsPerCell; ++s)
            cost += pattern >> s & 1 ? On(s, fg, bg, sep) : pure[s][bg];
        return cost;
    }
};

namespace {

using CellCosts = RowSolver::CellCosts;

void Measure(const RowTargets& targets, int cell, CellCosts& costs) {
    static const CellMeans means;
    const SixelColours& colours = TheSixelColours();
    float mean[3] = {0, 0, 0};
    for (int s = 0; s < kSixelsPerCell; ++s) {
        const int pair = s / 2;
        const auto& rgb = targets[pair][2 * (cell - kPictureFirstCell) + s % 2];
        const Lab target = LabOfLinear(rgb[0], rgb[1], rgb[2]);
        const float weight = kPairWeight[pair];
        for (int k = 0; k < 3; ++k) mean[k] += weight * rgb[k] / kCellWeight;
        for (int c = 0; c < kColours; ++c)
            costs.pure[s][c] = weight * std::sqrt(SquaredDistance(target, colours.pureLab[c]));
        for (int fg = 0; fg < kColours; ++fg)
            for (int bg = 0; bg < kColours; ++bg)
                costs.separated[s][fg][bg] =
                    fg == bg ? costs.pure[s][fg]
                             : weight * std::sqrt(SquaredDistance(
                                            target, colours.separatedLab[pair][fg][bg]));
    }
    const Lab target = LabOfLinear(mean[0], mean[1], mean[2]);
    const auto distance = [&target](const Lab& shown) {
        return kMeanWeight * kCellWeight * std::sqrt(SquaredDistance(target, shown));
    };
    float solidMean[kColours];
    for (int c = 0; c < kColours; ++c) solidMean[c] = distance(colours.pureLab[c]);
    // Foreground 0 is text, which shows no mosaics.
    for (int sep = 0; sep < 2; ++sep)
        for (int fg = 1; fg < kColours; ++fg)
            for (int bg = 0; bg < kColours; ++bg)
                for (int corners = 0; corners <= 4; ++corners)
                    for (int middles = 0; middles <= 2; ++middles)
                        costs.mean[sep][fg][bg][corners][middles] =
                            fg == bg || corners + middles == 0
                                ? solidMean[bg]
                                : distance(means.lab[sep][fg][bg][corners][middles]);
    for (int c = 0; c < kColours; ++c) {
        costs.solid[c] = solidMean[c];
        for (int s = 0; s < kSixelsPerCell; ++s) costs.solid[c] += costs.pure[s][c];
    }
}

// The best pattern of a cell in one state, with what each sixel adds when set (delta) on top
// of the cell all background (base): for each count of corners and middles set, the cheapest
// sixels of each kind.
std::uint8_t BestPattern(const float delta[kSixelsPerCell], float base, const float mean[5][3],
                         float& cost) {
    // The four corners cheapest first, by a sorting network.
    int corners[4] = {0, 1, 2, 3};
    const auto order = [&](int a, int b) {
        if (delta[kCorners[corners[b]]] < delta[kCorners[corners[a]]])
            std::swap(corners[a], corners[b]);
    };
    order(0, 1), order(2, 3), order(0, 2), order(1, 3), order(1, 2);
    const bool middleFirst = delta[kMiddles[0]] <= delta[kMiddles[1]];
    const int middles[2] = {kMiddles[middleFirst ? 0 : 1], kMiddles[middleFirst ? 1 : 0]};
    cost = std::numeric_limits<float>::infinity();
    int best = 0;
    float cornerSum = 0;
    int cornerBits = 0;
    for (int c = 0; c <= 4; ++c) {
        if (c > 0) {
            cornerSum += delta[kCorners[corners[c - 1]]];
            cornerBits |= 1 << kCorners[corners[c - 1]];
        }
        float middleSum = 0;
        int bits = cornerBits;
        for (int m = 0; m <= 2; ++m) {
            if (m > 0) {
                middleSum += delta[middles[m - 1]];
                bits |= 1 << middles[m - 1];
            }
            const float total = base + cornerSum + middleSum + mean[c][m];
            if (total < cost) cost = total, best = bits;
        }
    }
    return static_cast<std::uint8_t>(best);
}

void ChooseBest(CellCosts& costs, const CellCosts* after) {
    for (int fg = 1; fg < kColours; ++fg)
        for (int bg = 0; bg < kColours; ++bg)
            for (int sep = 0; sep < 2; ++sep) {
                float delta[kSixelsPerCell], base = 0;
                for (int s = 0; s < kSixelsPerCell; ++s) {
                    delta[s] = costs.On(s, fg, bg, sep) - costs.pure[s][bg];
                    base += costs.pure[s][bg];
                }
                costs.best[0][fg][bg][sep] = BestPattern(delta, base, costs.mean[sep][fg][bg],
                                                         costs.bestCost[0][fg][bg][sep]);
                if (after == nullptr) {
                    costs.best[1][fg][bg][sep] = costs.best[0][fg][bg][sep];
                    costs.bestCost[1][fg][bg][sep] = costs.bestCost[0][fg][bg][sep];
                    continue;
                }
                float mean[5][3];
                for (int c = 0; c <= 4; ++c)
                    for (int m = 0; m <= 2; ++m)
                        mean[c][m] = costs.mean[sep][fg][bg][c][m] + after->mean[sep][fg][bg][c][m];
                float bothBase = base;
                for (int s = 0; s < kSixelsPerCell; ++s) {
                    delta[s] += after->On(s, fg, bg, sep) - after->pure[s][bg];
                    bothBase += after->pure[s][bg];
                }
                float both = 0;
                const std::uint8_t paired = BestPattern(delta, bothBase, mean, both);
                costs.best[1][fg][bg][sep] = paired;
                costs.bestCost[1][fg][bg][sep] = costs.Pattern(paired, fg, bg, sep);
            }
}

}  // namespace

float RowError(const std::uint8_t* row, const RowTargets& targets) {
    const TeletextRow shown = DecodeTeletextRow(row, false);
    float error = 0;
    for (int cell = kPictureFirstCell; cell < kTeletextColumns; ++cell) {
        float rgb[kSixelsPerCell][3];
        ShownSixels(shown.cells[cell], rgb);
        float shownMean[3] = {0, 0, 0}, wantedMean[3] = {0, 0, 0};
        for (int s = 0; s < kSixelsPerCell; ++s) {
            const auto& wanted = targets[s / 2][2 * (cell - kPictureFirstCell) + s % 2];
            const float weight = kPairWeight[s / 2];
            error +=
                weight * std::sqrt(SquaredDistance(LabOfLinear(wanted[0], wanted[1], wanted[2]),
                                                   LabOfLinear(rgb[s][0], rgb[s][1], rgb[s][2])));
            for (int k = 0; k < 3; ++k) {
                shownMean[k] += weight * rgb[s][k] / kCellWeight;
                wantedMean[k] += weight * wanted[k] / kCellWeight;
            }
        }
        error += kMeanWeight * kCellWeight *
                 std::sqrt(SquaredDistance(LabOfLinear(wantedMean[0], wantedMean[1], wantedMean[2]),
                                           LabOfLinear(shownMean[0], shownMean[1], shownMean[2])));
    }
    return error;
}

RowSolver::RowSolver()
    : cells_(kTeletextColumns + 1),
      now_(kStates, kUnreached),
      next_(kStates, kUnreached),
      heldNow_(kStates),
      heldNext_(kStates),
      back_(static_cast<std::size_t>(kTeletextColumns) * kStates) {}

RowSolver::~RowSolver() = default;

void RowSolver::Relax(int to, float cost, int from, std::uint8_t byte) {
    if (cost >= next_[to]) return;
    if (next_[to] == kUnreached) nextLive_.push_back(to);
    next_[to] = cost;
    back_[static_cast<std::size_t>(cell_) * kStates + to] = {static_cast<std::uint16_t>(from),
                                                             byte};
}

void RowSolver::RelaxHeld(int fg, int bg, int sep, int held, float cost, int from,
                          std::uint8_t byte) {
    // The slot that holds this pattern, else an empty one, else the dearest.
    const int group = OnGroup(fg, bg, sep);
    int to = group;
    for (int slot = 0; slot < kHeldSlots; ++slot) {
        const int state = group + slot;
        if (next_[state] != kUnreached && heldNext_[state] == held) {
            to = state;
            break;
        }
        if (next_[state] > next_[to]) to = state;
    }
    if (cost >= next_[to]) return;
    heldNext_[to] = static_cast<std::uint8_t>(held);
    Relax(to, cost, from, byte);
}

void RowSolver::Expand(int cell, int state, float cost) {
    const CellCosts& here = cells_[cell];
    if (state < kOffStates) {
        const int last = state % 3, sep = state / 3 % 2, bg = state / 6 % kColours,
                  fg = state / 6 / kColours;
        if (fg != 0) {
            for (int variant = 0; variant < 2; ++variant) {
                const int pattern = here.best[variant][fg][bg][sep];
                if (variant == 1 && pattern == here.best[0][fg][bg][sep]) break;
                Relax(Off(fg, bg, sep, variant + 1), cost + here.bestCost[variant][fg][bg][sep],
                      state, SixelByte(pattern));
            }
            if (last != 0) {
                const int held = cells_[cell - 1].best[last - 1][fg][bg][sep];
                RelaxHeld(fg, bg, sep, held, cost + here.Pattern(held, fg, bg, sep), state,
                          kHoldGraphics);
            }
        }
        // A graphics colour's cell shows the background whatever the foreground was, so the
        // cheapest way to each background and set serves every colour (ExpandColours).
        const float blank = cost + here.solid[bg];
        Colours& colours = offColours_[bg][sep];
        if (blank < colours.cost) colours = {blank, state};
        const int newBackground = fg != 0 ? fg : 7;  // text starts white
        if (newBackground != bg)
            Relax(Off(fg, newBackground, sep, 0), cost + here.solid[newBackground], state,
                  kNewBackground);
        if (bg != 0) Relax(Off(fg, 0, sep, 0), cost + here.solid[0], state, kBlackBackground);
        Relax(Off(fg, bg, 1 - sep, 0), blank, state, sep ? kContiguous : kSeparated);
        return;
    }
    const int group = (state - kOffStates) / kHeldSlots;
    const int held = heldNow_[state], sep = group % 2, bg = group / 2 % kColours,
              fg = group / 2 / kColours + 1;
    for (int variant = 0; variant < 2; ++variant) {
        const int pattern = here.best[variant][fg][bg][sep];
        if (variant == 1 && pattern == here.best[0][fg][bg][sep]) break;
        RelaxHeld(fg, bg, sep, pattern, cost + here.bestCost[variant][fg][bg][sep], state,
                  SixelByte(pattern));
    }
    // A code's cell shows the held mosaic, in the foreground before the code and the background
    // after it; for the graphics colours the cheapest source serves them all.
    const float shown = cost + here.Pattern(held, fg, bg, sep);
    Colours& colours = heldColours_[bg][sep][held];
    if (colours.cost == kUnreached) heldColourKeys_.push_back((bg * 2 + sep) * 64 + held);
    if (shown < colours.cost) colours = {shown, state};
    if (bg != fg) RelaxHeld(fg, fg, sep, held, cost + here.solid[fg], state, kNewBackground);
    if (bg != 0)
        RelaxHeld(fg, 0, sep, held, cost + here.Pattern(held, fg, 0, sep), state, kBlackBackground);
    if (held == 0) Relax(Off(fg, bg, sep, 0), cost + here.solid[bg], state, kReleaseGraphics);
}

void RowSolver::ExpandColours() {
    for (int bg = 0; bg < kColours; ++bg)
        for (int sep = 0; sep < 2; ++sep) {
            Colours& colours = offColours_[bg][sep];
            if (colours.cost == kUnreached) continue;
            for (int colour = 1; colour < kColours; ++colour)
                Relax(Off(colour, bg, sep, 0), colours.cost, colours.from,
                      static_cast<std::uint8_t>(kGraphicsColour + colour));
            colours = {};
        }
    for (const int key : heldColourKeys_) {
        const int held = key % 64, sep = key / 64 % 2, bg = key / 128;
        Colours& colours = heldColours_[bg][sep][held];
        for (int colour = 1; colour < kColours; ++colour)
            RelaxHeld(colour, bg, sep, held, colours.cost, colours.from,
                      static_cast<std::uint8_t>(kGraphicsColour + colour));
        colours = {};
    }
    heldColourKeys_.clear();
}

SolvedRow RowSolver::Solve(const RowTargets& targets) {
    for (int cell = kPictureFirstCell; cell < kTeletextColumns; ++cell)
        Measure(targets, cell, cells_[cell]);
    for (int cell = kPictureFirstCell; cell < kTeletextColumns; ++cell)
        ChooseBest(cells_[cell], cell + 1 < kTeletextColumns ? &cells_[cell + 1] : nullptr);

    // Cell 0, outside the picture: a graphics colour, or separated first.
    for (const int state : live_) now_[state] = kUnreached;
    live_.clear();
    nextLive_.clear();
    cell_ = 0;
    const int start = Off(0, 0, 0, 0);
    for (int colour = 1; colour < kColours; ++colour)
        Relax(Off(colour, 0, 0, 0), 0, start, static_cast<std::uint8_t>(kGraphicsColour + colour));
    Relax(Off(0, 0, 1, 0), 0, start, kSeparated);

    for (int cell = kPictureFirstCell; cell <= kTeletextColumns; ++cell) {
        std::swap(now_, next_);
        std::swap(heldNow_, heldNext_);
        std::swap(live_, nextLive_);
        for (const int state : nextLive_) next_[state] = kUnreached;
        nextLive_.clear();
        if (cell == kTeletextColumns) break;
        cell_ = cell;
        for (const int state : live_) Expand(cell, state, now_[state]);
        ExpandColours();
    }

    SolvedRow row;
    int state = live_.front();
    for (const int candidate : live_)
        if (now_[candidate] < now_[state]) state = candidate;
    row.error = now_[state];
    for (int cell = kTeletextColumns - 1; cell >= 0; --cell) {
        const Back& back = back_[static_cast<std::size_t>(cell) * kStates + state];
        row.bytes[cell] = back.byte;
        state = back.from;
    }
    return row;
}
