#pragma once

#include <string>
#include <vector>

#include "platform/registry/MemoryRegistry.h"

// The registry overlay file: keys and values under HKEY_LOCAL_MACHINE written as text, for
// administrators and tests. UTF-8, one item a line:
//
//   # a comment (so is a line starting with ';'); blank lines are ignored
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]     (or [HKLM\...]) starts a key
//   PATH = /usr/bin/hardinfo        text (REG_SZ, stored with its terminating NUL)
//   Count = dword:0000002a          a 32-bit number, 1 to 8 hexadecimal digits (REG_DWORD)
//   Note = "  dword:1  "            text between double quotes is taken as it is
//
// Names and values are trimmed of surrounding blanks; a name runs up to the first '='. Key and
// value names compare without regard to case. A value repeated later replaces the earlier one.
struct OverlayProblem {
    int line = 0;
    std::string reason;
};

struct ParsedOverlay {
    MemoryRegistry keys;
    std::vector<std::string> keyPaths;     // every key the file names, in order of first mention
    std::vector<OverlayProblem> problems;  // lines that were skipped, and why
};

ParsedOverlay ParseRegistryOverlay(const std::string& text);

// The largest overlay file read; a bigger one is ignored as a whole.
inline constexpr std::size_t kMaxOverlayBytes = 1 << 20;
