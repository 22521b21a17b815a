#pragma once

#include <string>
#include <vector>

// Where Help > "User Guide" looks for the guide, in order: the README installed beside the
// program (PREFIX/share/doc/quillix/README.md, PREFIX the parent of the program's folder), then
// the README of the source tree the program was built from.
std::vector<std::string> UserGuideCandidates(const std::string& programFolder);

// The first candidate that is a plain file; empty when there is none.
std::string FindUserGuide(const std::vector<std::string>& candidates);
