#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// quillix-convert as a whole: reads the arguments after the program name, converts every
// picture and reports to out (where the files went) and err (errors, and progress when err is a
// terminal). Returns the exit status: 0 all converted, 1 some picture failed, 2 usage error.
int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 bool errIsTerminal);
