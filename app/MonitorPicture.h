#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include "platform/picture/PictureBox.h"
#include "sample/SampleGeometry.h"

// The pictures of the monitor view: the display render in the monitor's 4:3 shape, and the
// source picture framed as a fit frames it.

// The 640 x 512 display at a whole scale: 512 x scale lines, 4/3 as wide (683 x 512 at 1x).
QSize MonitorSize(int scale);

// The largest 4:3 size within room.
QSize MonitorSizeWithin(QSize room);

// The display at size, each shown pixel the display pixel under it, so that every shown column
// and line is a column and line of the display, in order, and nothing is blended.
QImage MonitorImage(const PictureBox& display, QSize size);

// A picture as an image: colour values or decoded pixels alike. Shares the box's memory, so the
// box must outlive the image and stay unchanged while it is used.
QImage ImageOf(const PictureBox& picture);

// Where a width x height picture lies in a 4:3 frame as fit places it on the screen: the whole
// frame (stretch), centred within it (keep) or covering it (fill, reaching past its edges).
QRectF PictureInFrame(int width, int height, Fit fit, QSizeF frame);

// The picture framed as fit frames it, at size: on black where keep leaves borders.
QImage SourceFrame(const QImage& picture, Fit fit, QSize size);
