#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

// Listens, while it lives, to what Qt's image decoders say, keeping it off the terminal (the
// loader reports what matters itself), and notes whether the JPEG decoder said it had to invent
// pixels. Qt passes libjpeg's warnings on through qWarning and nothing else: a JPEG decoder that
// runs out of data or meets corrupt data reports success and fills in grey.
class DecoderWarnings {
public:
    // What the decoder said about the pixels it delivered.
    enum class Loss { kNone, kRanOutOfData, kCorruptData, kOutOfMemory };

    DecoderWarnings();
    ~DecoderWarnings();
    DecoderWarnings(const DecoderWarnings&) = delete;
    DecoderWarnings& operator=(const DecoderWarnings&) = delete;

    Loss PixelLoss() const { return loss_; }

    // How libjpeg's warning text bears on the pixels. Only its first warning about a file gets
    // through, so a harmless one (padding before a marker, which many cameras write) hides any
    // later one: see JpegDataCheck.h for the whole story.
    static Loss JpegWarningLoss(const QString& text);

private:
    static void Listen(QtMsgType type, const QMessageLogContext& context, const QString& text);
    static void EnableDecoderWarnings(QLoggingCategory* category);

    QtMessageHandler previous_;
    QLoggingCategory::CategoryFilter previousFilter_;
    DecoderWarnings* outer_;
    Loss loss_ = Loss::kNone;
};
