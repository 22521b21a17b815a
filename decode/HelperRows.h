#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

// A picture in a format without a row source here (TIFF, WebP, ICNS, PPM, XPM, MNG, ...), decoded
// by Qt's image readers in a process of its own, the picture helper (see HelperProtocol.h), whose
// rows come back through a pipe. The program itself never loads Qt's image plugins: a decoder
// that crashes takes only the helper down (the picture is refused as damaged), and one that spins
// on a hostile file is stopped when its processor-time budget is spent (refused as taking too
// long). Only the first frame of an animation is read.
//
// Raises FileError naming the file and the reason when the helper turns the picture down or
// cannot be started; Feed raises the same when the helper fails on the way.
std::unique_ptr<RowSource> OpenHelperRows(const std::string& path);
