#include "convert/Module1.h"

namespace Module1 {

SampleGridPlanes SampleGrid;
BoundedTable<std::int16_t, 2, 6, 8> PaletteBits;
TonePattern PatternFine;
TonePattern PatternCoarse;
TonePattern PatternSpiral;
TonePattern PatternDiagonal;
BoundedTable<std::int16_t, 16, 16> ThresholdTable;

}  // namespace Module1
