// quality: scores screen files against the picture they were converted from, as a viewer sees
// both; prints for each screen file, in order, a line with the mean CIEDE2000 (lower is better)
// and the mean SSIM of lightness (higher is better).
//   quality [-m MODE] [--palette P,P,...] [--fit stretch|keep|fill] PICTURE SCREEN...
// The options hold for every SCREEN; the palette lists the BBC colour (0..7) of each logical
// colour, by default the MODE's own.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/quality/QualityScore.h"
#include "bench/quality/ShownScreen.h"
#include "bench/quality/SourceOnGrid.h"
#include "colour/Palette.h"
#include "screen/ScreenGeometry.h"

namespace {

struct Arguments {
    int screenMode = 2;
    std::vector<std::uint8_t> palette;  // empty: the MODE's own colours
    GridFit fit = GridFit::Stretch;
    std::string picture;
    std::vector<std::string> screens;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or understood, named with the reason.
struct InputError : std::runtime_error {
    InputError(const std::string& path, const std::string& reason)
        : std::runtime_error(path + ": " + reason) {}
};

std::vector<std::uint8_t> ParsePalette(const std::string& text) {
    std::vector<std::uint8_t> palette;
    std::stringstream items(text);
    for (std::string item; std::getline(items, item, ',');) {
        if (item.size() != 1 || item[0] < '0' || item[0] > '7') {
            throw UsageError("--palette takes BBC colour numbers 0..7 separated by commas");
        }
        palette.push_back(static_cast<std::uint8_t>(item[0] - '0'));
    }
    return palette;
}

GridFit ParseFit(const std::string& text) {
    if (text == "stretch") return GridFit::Stretch;
    if (text == "keep") return GridFit::Keep;
    if (text == "fill") return GridFit::Fill;
    throw UsageError("--fit takes stretch, keep or fill");
}

Arguments Parse(const std::vector<std::string>& args) {
    Arguments parsed;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "-m") {
            const std::string& mode = value();
            if (mode != "0" && mode != "1" && mode != "2" && mode != "4" && mode != "5") {
                throw UsageError("-m takes 0, 1, 2, 4 or 5");
            }
            parsed.screenMode = std::stoi(mode);
        } else if (arg == "--palette") {
            parsed.palette = ParsePalette(value());
        } else if (arg == "--fit") {
            parsed.fit = ParseFit(value());
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() < 2) throw UsageError("give the picture and at least one screen file");
    parsed.picture = files[0];
    parsed.screens.assign(files.begin() + 1, files.end());
    if (parsed.palette.empty()) parsed.palette = DefaultPalette(parsed.screenMode).physical;
    const int colours = GeometryOf(parsed.screenMode).colourCount;
    if (parsed.palette.size() != static_cast<std::size_t>(colours)) {
        throw UsageError("--palette needs " + std::to_string(colours) + " colours in MODE " +
                         std::to_string(parsed.screenMode));
    }
    return parsed;
}

QImage ReadPicture(const std::string& path) {
    QImageReader::setAllocationLimit(2048);
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);  // as the converter reads it
    QImage image = reader.read();
    if (image.isNull()) throw InputError(path, reader.errorString().toStdString());
    return image.convertToFormat(QImage::Format_RGB888);
}

std::vector<std::uint8_t> ReadScreen(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError(path, "cannot open the screen file");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ScoreAll(const Arguments& args) {
    const QImage picture = ReadPicture(args.picture);
    const Placement placement = PlacementOf(picture.width(), picture.height(), args.fit);
    const LinearPicture source =
        SourceOnGrid([&picture](int y) { return picture.constScanLine(y); }, picture.width(),
                     picture.height(), placement);
    for (const std::string& path : args.screens) {
        QualityScore score;
        try {
            score =
                ScoreQuality(source, ShownScreen(ReadScreen(path), args.screenMode, {args.palette}),
                             CoveredRect(placement));
        } catch (const std::invalid_argument& e) {
            throw InputError(path, e.what());
        }
        std::printf("ciede2000 %.4f ssim %.4f dark %.4f\n", score.ciede2000, score.ssim,
                    score.darkLit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // for the image format plugins
    try {
        ScoreAll(Parse({argv + 1, argv + argc}));
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "quality: " << e.what() << "\nusage: quality [-m MODE] [--palette P,P,...] "
                  << "[--fit stretch|keep|fill] PICTURE SCREEN...\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "quality: " << e.what() << "\n";
        return 1;
    }
}
