#include "colour/Palette.h"

Palette DefaultPalette(int screenMode) {
    switch (screenMode) {
        case 0:
        case 4:
            return {{kBlack, kWhite}};
        case 1:
        case 5:
            return {{kBlack, kRed, kYellow, kWhite}};
        default:
            return {{kBlack, kRed, kGreen, kYellow, kBlue, kMagenta, kCyan, kWhite}};
    }
}
