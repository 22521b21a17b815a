#include "screen/TeletextRow.h"

namespace {

constexpr std::uint8_t kSpace = 0x20;

// The row's state between cells.
struct RowState {
    std::uint8_t foreground = 7;
    std::uint8_t background = 0;
    bool graphics = false;
    bool separated = false;
    bool hold = false;
    bool flash = false;
    bool conceal = false;
    bool doubleHeight = false;
    std::uint8_t held = kSpace;
    GlyphSet heldSet = GlyphSet::Text;

    GlyphSet Set() const {
        if (!graphics) return GlyphSet::Text;
        return separated ? GlyphSet::Separated : GlyphSet::Contiguous;
    }
};

// Applies a control code (0-31) to the state.
void Apply(std::uint8_t code, RowState& state, bool& hasDoubleHeight) {
    if ((code >= 1 && code <= 7) || (code >= 17 && code <= 23)) {
        state.graphics = code >= 17;
        state.foreground = code & 7;
        state.conceal = false;
        return;
    }
    switch (code) {
        case 8:
            state.flash = true;
            break;
        case 9:
            state.flash = false;
            break;
        case 12:
            state.doubleHeight = false;
            break;
        case 13:
            state.doubleHeight = hasDoubleHeight = true;
            break;
        case 24:
            state.conceal = true;
            break;
        case 25:
            state.separated = false;
            break;
        case 26:
            state.separated = true;
            break;
        case 28:
            state.background = 0;
            break;
        case 29:
            state.background = state.foreground;
            break;
        case 30:
            state.hold = true;
            break;
        case 31:
            state.hold = false;
            break;
        default:
            break;
    }
}

}  // namespace

TeletextRow DecodeTeletextRow(const std::uint8_t* bytes, bool lowerHalf) {
    TeletextRow row;
    RowState state;
    for (int column = 0; column < kTeletextColumns; ++column) {
        std::uint8_t character = bytes[column] & 0x7F;
        TeletextCell& cell = row.cells[column];
        // What the cell is drawn with is settled before its own code acts.
        cell.set = state.Set();
        cell.foreground = state.foreground;
        cell.doubleHeight = state.doubleHeight;
        bool flash = state.flash;
        const bool concealed = state.conceal;
        if (character < kSpace) {
            const RowState before = state;
            Apply(character, state, row.hasDoubleHeight);
            if (before.graphics && (before.hold || state.hold) &&
                state.doubleHeight == before.doubleHeight) {
                character = state.held;
                cell.set = state.heldSet;
            } else {
                character = state.held = kSpace;
            }
            if (!state.flash) flash = false;  // Steady acts at its own cell
        } else if (state.graphics) {
            if (IsSixelCharacter(character)) {
                state.held = character;
                state.heldSet = cell.set;
            }
        } else {
            state.held = kSpace;
        }
        cell.character = character;
        cell.background = state.background;
        cell.flash = flash;
        cell.hidden = concealed || state.conceal || (lowerHalf && !state.doubleHeight);
    }
    return row;
}
