#include "cli/PngFile.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdint>

#include "platform/files/AtomicFile.h"
#include "platform/picture/PictureBox.h"

QByteArray PngOf(const PictureBox& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint32_t v = row[x];
            image.setPixel(x, y, qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) bytes.clear();
    return bytes;
}

void PreparePng(AtomicFile& file, const PictureBox& picture) {
    const QByteArray bytes = PngOf(picture);
    if (bytes.isEmpty()) throw FileError(file.Target(), "the PNG could not be encoded");
    file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.Close();
}
