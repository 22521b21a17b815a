#pragma once

#include "app/ConversionSettings.h"
#include "app/Module1.h"

// Puts every piece of conversion state back to how a fresh run has it after start-up, so that
// each test starts from the same place whatever ran before it.
inline void ResetConversionState(ConversionSettingsFields settings = kStartSettings) {
    Module1::SampleGrid.BluePlane.Clear();
    Module1::SampleGrid.GreenPlane.Clear();
    Module1::SampleGrid.RedPlane.Clear();
    Module1::PaletteBits.Clear();
    Module1::PatternFine.Clear();
    Module1::PatternCoarse.Clear();
    Module1::PatternSpiral.Clear();
    Module1::PatternDiagonal.Clear();
    Module1::ThresholdTable.Clear();
    ConversionSettings = settings;
}

// Sets one grid position to the given blue, green and red intensities.
inline void SetSample(int x, int y, int blue, int green, int red) {
    Module1::SampleGrid.BluePlane(x, y) = static_cast<std::int16_t>(blue);
    Module1::SampleGrid.GreenPlane(x, y) = static_cast<std::int16_t>(green);
    Module1::SampleGrid.RedPlane(x, y) = static_cast<std::int16_t>(red);
}
