#include "compress/UnpackRoutine.h"

#include <cstddef>

extern const unsigned char kUnpackRoutineBytes[];
extern const std::size_t kUnpackRoutineBytesSize;

std::vector<std::uint8_t> UnpackRoutine() {
    return {kUnpackRoutineBytes, kUnpackRoutineBytes + kUnpackRoutineBytesSize};
}
