#pragma once

#include <QByteArray>
#include <functional>

#include "acquire/DecoderWarnings.h"

// Walks the first picture of a GIF file and counts the pixels its coded data yields, without
// keeping any. Qt's GIF decoder returns a frame whose data ended early, or went wrong, as if it
// were whole when the file is small enough to be read in one go; this says whether it was.
// bytesAt(offset, count) reads the file.
DecoderWarnings::Loss GifDataLoss(
    const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt);
