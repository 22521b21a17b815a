#pragma once

#include <QByteArray>
#include <QSize>

// The size that a BMP file's header claims, from the file's first bytes; invalid when they are
// not a BMP header. Qt's BMP decoder turns down a header with an absurd size without saying the
// size, and the loader wants to name it.
QSize BmpDeclaredSize(const QByteArray& head);
