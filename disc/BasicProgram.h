#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A BBC BASIC II program as BASIC keeps it in memory and saves it, from its text: each line CR,
// the line number (high byte first), the line's length and its text with the keywords as
// tokens; the program ends with CR and &FF. Keywords are found as BASIC finds them, the longest
// first, outside strings and star commands; a line number after GOTO, GOSUB, THEN, ELSE or
// RESTORE is stored as BASIC stores it (&8D and three bytes). lines are "NUMBER STATEMENTS"
// separated by CR, as BootScript types them; lines without a number are left out. Raises
// std::invalid_argument for a line number above 32767 or a line longer than BASIC takes.
std::vector<std::uint8_t> TokenisedProgram(const std::string& lines);
