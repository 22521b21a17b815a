#include "acquire/DecoderWarnings.h"

#include <cstring>

namespace {

// The listener that Qt's message handler, a plain function, reports to. Pictures decode on the
// thread that asked, one at a time, so one per thread is enough.
thread_local DecoderWarnings* listening = nullptr;
// The filter in place before the first listener came; each category passes through it first.
QLoggingCategory::CategoryFilter userFilter = nullptr;

constexpr const char* kJpegCategory = "qt.gui.imageio.jpeg";

}  // namespace

DecoderWarnings::DecoderWarnings()
    : previous_(qInstallMessageHandler(&Listen)), previousFilter_(nullptr), outer_(listening) {
    listening = this;
    if (outer_ == nullptr) {
        previousFilter_ = QLoggingCategory::installFilter(&EnableDecoderWarnings);
        if (previousFilter_ != &EnableDecoderWarnings) userFilter = previousFilter_;
    }
}

DecoderWarnings::~DecoderWarnings() {
    listening = outer_;
    if (outer_ == nullptr) QLoggingCategory::installFilter(previousFilter_);
    qInstallMessageHandler(previous_);
}

void DecoderWarnings::EnableDecoderWarnings(QLoggingCategory* category) {
    if (userFilter != nullptr) userFilter(category);
    // The warnings are how a damaged JPEG shows, so logging rules that turn them off (for the
    // terminal's sake) must not hide them from the loader.
    if (std::strcmp(category->categoryName(), kJpegCategory) == 0) {
        category->setEnabled(QtWarningMsg, true);
    }
}

DecoderWarnings::Loss DecoderWarnings::JpegWarningLoss(const QString& text) {
    // libjpeg's warnings that leave every pixel as the file holds it.
    static const char* const kHarmless[] = {
        "extraneous bytes before marker", "unknown JFIF revision",
        "Unknown Adobe color transform",  "bad ICC marker",
        "Invalid SOS parameters",
    };
    for (const char* harmless : kHarmless) {
        if (text.contains(QLatin1String(harmless), Qt::CaseInsensitive)) return Loss::kNone;
    }
    if (text.contains(QLatin1String("Premature end of JPEG file"))) return Loss::kRanOutOfData;
    return Loss::kCorruptData;
}

void DecoderWarnings::Listen(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (listening == nullptr || type != QtWarningMsg || context.category == nullptr) return;
    Loss loss = Loss::kNone;
    if (text.startsWith(QLatin1String("QImage: out of memory"))) {
        loss = Loss::kOutOfMemory;
    } else if (std::strcmp(context.category, kJpegCategory) == 0) {
        loss = JpegWarningLoss(text);
    }
    if (loss > listening->loss_) listening->loss_ = loss;
}
