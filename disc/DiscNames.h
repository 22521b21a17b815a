#pragma once

#include <string>
#include <vector>

// DFS names for pictures, from their file names without folder and extension ("stems"), in
// order: the letters in upper case and the digits, at most 7 of them, since these are the
// characters that every DFS command takes without quotes. A stem without any gives "PICTURE".
// A name already taken gets the smallest number that makes it unique, cut short to make room:
// "coffee", "Coffee" and "chelsea", "chelsea" give COFFEE, COFFEE1, CHELSEA, CHELSE1.
std::vector<std::string> DfsNamesFor(const std::vector<std::string>& stems);

// A disc title from the disc file's stem: its printable ASCII characters, at most 12.
std::string DfsTitleFor(const std::string& stem);
