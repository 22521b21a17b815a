#pragma once

#include <QByteArray>
#include <functional>

#include "acquire/DecoderWarnings.h"

// Decodes a JPEG file once more, cheaply (at an eighth of its size, which still reads every
// coded value), and says whether libjpeg met missing or corrupt data anywhere in it. Qt's decode
// cannot tell: libjpeg-turbo's fast path reads a bad code as zero without a warning, and Qt
// passes on only the first warning, which may be a harmless one. Warnings that lose nothing
// (padding before a marker, which many cameras write) do not count. bytesAt(offset, count) reads
// the file.
DecoderWarnings::Loss JpegDataLoss(
    const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt);
