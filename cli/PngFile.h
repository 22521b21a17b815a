#pragma once

#include <string>

class AtomicFile;
class PictureBox;

// A picture box's drawing as PNG, written by libpng as the converter has always written it (8-bit
// RGB, libpng's default compression and filters, 100 dots an inch); empty if it could not be
// encoded.
std::string PngOf(const PictureBox& picture);

// Writes the picture as PNG into file and closes it, ready to be committed; raises FileError
// naming the file when the PNG cannot be encoded or written.
void PreparePng(AtomicFile& file, const PictureBox& picture);
