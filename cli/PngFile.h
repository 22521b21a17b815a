#pragma once

#include <QByteArray>

class AtomicFile;
class PictureBox;

// A picture box's drawing as PNG; empty if it could not be encoded.
QByteArray PngOf(const PictureBox& picture);

// Writes the picture as PNG into file and closes it, ready to be committed; raises FileError
// naming the file when the PNG cannot be encoded or written.
void PreparePng(AtomicFile& file, const PictureBox& picture);
