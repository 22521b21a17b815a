#pragma once

#include <string>
#include <string_view>

// The text with every control character (a byte below 0x20, and DEL) written as an escape: \n,
// \r and \t by name, the others as \xNN. A file name may hold any of them; a message that names
// the file must still be one line, and show where they are.
std::string WithControlsEscaped(std::string_view text);
