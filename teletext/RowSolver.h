#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "colour/LinearLight.h"
#include "teletext/CellCosts.h"
#include "teletext/SixelTargets.h"

// What a row of sixels should look like: the linear red, green and blue of each of its 3 x 78
// sixels, [pair][column].
using RowTargets = std::array<std::array<std::array<float, 3>, kPictureSixelColumns>, kSixelRows>;

// A row as solved: its 40 bytes and the error they show, the sum over the picture area's sixels
// of each sixel's CIELAB distance from its target, weighted by its height (3, 4 or 3).
struct SolvedRow {
    std::array<std::uint8_t, kTeletextColumns> bytes{};
    float error = 0;
};

// Chooses a row's control codes and sixels by dynamic programming over the row's state: the
// foreground (or text, before the first graphics colour), the background, contiguous or
// separated, and Hold Graphics with the mosaic it holds (the two cheapest for each of the others).
// Each cell is a mosaic with the pattern that suits it best in that state (or best for it and a
// held copy in the next cell), or a code: a graphics colour, New or Black Background, contiguous or
// separated, Hold or Release Graphics. The result has the least error of all rows built so, under
// these rules, which keep every row's look the same on every SAA5050 reading emulators have of
// hold:
//  - Hold Graphics only straight after a mosaic cell, so that the mosaic it holds is that
//    cell's character, whether or not earlier codes or Release cleared the held character;
//  - Release Graphics only while the held mosaic is blank, so that its own cell shows the
//    background whether Release acts at its cell or after it;
//  - no contiguous or separated code while Hold is on, so that a held mosaic is never redrawn
//    in another set than the one it was shown in.
// Cell 0 starts the row with a graphics colour or separated code and shows black.
class RowSolver;

// The error a row of bytes shows against its targets, as RowSolver counts it, worked out from
// what the SAA5050 shows of it (DecodeTeletextRow): each picture sixel's CIELAB distance from its
// target times its height, plus, for each cell, half its mean colour's distance from its
// target's mean times the cell's height (20), since the eye blends a cell's sixels too.
float RowError(const std::uint8_t* row, const RowTargets& targets);

class RowSolver {
public:
    RowSolver();
    SolvedRow Solve(const RowTargets& targets);

private:
    struct Back {
        std::uint16_t from;
        std::uint8_t byte;
    };

    // The cheapest way into a graphics colour code's cell from one background and set (and held
    // mosaic), which serves all seven colours.
    struct Colours {
        float cost = std::numeric_limits<float>::infinity();
        int from = 0;
    };

    void Relax(int to, float cost, int from, std::uint8_t byte);
    void RelaxHeld(int fg, int bg, int sep, int held, float cost, int from, std::uint8_t byte);
    void Expand(int cell, int state, float cost);
    void ExpandColours();

    std::vector<CellCosts> cells_;
    std::vector<float> now_, next_;
    std::vector<std::uint8_t> heldNow_, heldNext_;  // the held pattern of each Hold state
    Colours offColours_[8][2];
    Colours heldColours_[8][2][64];
    std::vector<int> heldColourKeys_;
    std::vector<int> live_, nextLive_;
    std::vector<Back> back_;  // [cell][state]
    int cell_ = 0;
};
