#include "teletext/RowSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "teletext/SixelColours.h"

namespace {

constexpr float kUnreached = std::numeric_limits<float>::infinity();

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
        MeasureCell(targets, cell, cells_[cell]);
    for (int cell = kPictureFirstCell; cell < kTeletextColumns; ++cell)
        ChooseBestPatterns(cells_[cell], cell + 1 < kTeletextColumns ? &cells_[cell + 1] : nullptr);

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
