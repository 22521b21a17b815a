#pragma once

#include <string>

#include "platform/files/FileError.h"

// The file that writing to path creates or replaces: path itself, or, when path is a symbolic
// link, the file at the end of its chain of links, even when that file does not exist yet (as
// open with O_CREAT makes it). A relative link is taken from the folder of the link. Links among
// the folders on the way are left to the system. A chain longer than the system follows (a link
// to itself, two links to each other) raises FileError(path, "Too many levels of symbolic
// links").
std::string LinkTarget(const std::string& path);
