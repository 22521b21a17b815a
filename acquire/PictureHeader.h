#pragma once

#include <QByteArray>
#include <QSize>
#include <functional>

// What the first (and last) bytes of a picture file tell before any decoder is asked.

// The Qt format name ("jpeg", "bmp", "png", "gif") for a file that starts with that format's
// signature, or empty. Naming the format saves loading every image plugin to ask each whether it
// knows the file, which otherwise costs more than decoding a small picture.
QByteArray FormatFromSignature(const QByteArray& head);

// "tga" for a file that ends with a TGA 2.0 footer, the only TGA files Qt reads, or empty. TGA
// has no signature at the start, and its first bytes can pass for a Windows cursor's, whose
// decoder would claim the file and fail on it.
constexpr int kFooterSize = 18;  // "TRUEVISION-XFILE." and a zero byte
QByteArray FormatFromFooter(const QByteArray& tail);

// The size that a BMP file's header claims, from the file's first bytes; invalid when they are
// not a BMP header. Qt's BMP decoder turns down a header with an absurd size without saying the
// size, and the loader wants to name it.
QSize BmpDeclaredSize(const QByteArray& head);

// What a JPEG file's frame header claims, found by walking the segments before it.
struct JpegFrame {
    QSize size;  // invalid when there is no frame header; libjpeg turns down sides above 65500
                 // as a broken file, and the loader wants to call them too large
    bool progressive = false;
};
// bytesAt(offset, count) reads the file.
JpegFrame JpegFrameHeader(const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt);
