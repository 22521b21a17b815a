#pragma once

#include <string>
#include <vector>

#include "disc/BootScript.h"

// The loader's lines for packed screens (disc/ScreenOnDisc.h), which the 6502 routine at &900
// (compress/UnpackRoutine.h) unpacks straight into screen memory.

// Whether any slide is packed, so that the loader must load the routine.
bool AnyPacked(const std::vector<LoaderSlide>& slides);

// "*LOAD !UNPACK": the routine, at its own load address.
std::string UnpackRoutineLoad();

// The lines (without numbers) that show a packed slide: select its MODE, move HIMEM (and so
// BASIC's stack) down out of the packed file's way, turn the cursor off and every colour black,
// load the file at its own address (just below the screen's end), unpack it, which restores the
// MODE's colours, set those that differ from the MODE's, and wait for a key.
std::vector<std::string> UnpackingSlideLines(const LoaderSlide& slide);
