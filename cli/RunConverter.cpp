#include "cli/RunConverter.h"

#include <exception>
#include <new>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/ConvertPicture.h"
#include "cli/OutputPlan.h"
#include "cli/ScreenFile.h"
#include "colour/PaletteText.h"
#include "disc/SlideshowDisc.h"
#include "disc/SlideshowTape.h"
#include "platform/files/ControlEscapes.h"
#include "platform/files/DrivePath.h"
#include "platform/files/FileError.h"

namespace {

constexpr const char* kProgram = "quillix-convert";

int UsageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << WithControlsEscaped(message) << "\n" << UsageText();
    return 2;
}

// The conversion the options ask for.
ConversionChoices ChoicesOf(const ConverterOptions& options) {
    ConversionChoices choices;
    choices.screenMode = static_cast<ScreenMode>(options.screenMode);
    choices.halftone = static_cast<Halftone>(options.toneStyle);
    choices.stagger = options.stagger;
    ApplyPictureOptions(options.picture, choices);
    return choices;
}

// The screen of one planned picture: converted and written to its files, or with --show read
// from the screen file and rendered.
EncodedScreen ScreenOf(const PlannedConversion& entry, const ConverterOptions& options,
                       const ConversionChoices& choices) {
    if (!entry.conflict.empty()) throw FileError(entry.picture, entry.conflict);
    if (!options.show) {
        return ConvertPicture(entry.picture, choices,
                              {entry.screenFile, entry.previewFile, entry.displayFile});
    }
    ScreenFileContents screen = ReadScreenFile(entry.picture, options.screenMode);
    // A palette LIST names the colours the screen's logical colours stand for; a MODE 7 page
    // shows its own.
    const Palette palette =
        choices.palette == PaletteChoice::List && screen.screenMode == options.screenMode
            ? choices.paletteList
            : DefaultPalette(screen.screenMode);
    if (entry.displayFile)
        WriteDisplayPng(*entry.displayFile, screen.bytes, screen.screenMode, palette);
    return {static_cast<ScreenMode>(screen.screenMode), std::move(screen.bytes), palette, {}};
}

// What went where, for the report: "a.screen, a.screen.inf, a.png".
std::string FilesOf(const PlannedConversion& entry, const ConverterOptions& options) {
    std::string files;
    const auto add = [&files](const std::string& file) {
        files += (files.empty() ? "" : ", ") + file;
    };
    if (!entry.screenFile.empty()) {
        const std::string screen = ToLocalPath(entry.screenFile);
        add(screen);
        add(screen + ".inf");
    }
    if (entry.previewFile) add(*entry.previewFile);
    if (entry.displayFile) add(*entry.displayFile);
    return !files.empty() ? files : options.disc ? "the disc" : "the tape";
}

// Converts one planned picture and hands its screen to the disc, if there is one; on failure
// prints "quillix-convert: FILE: reason".
bool Convert(const PlannedConversion& entry, const ConverterOptions& options,
             const ConversionChoices& choices, std::ostream& out, std::ostream& err,
             std::vector<DiscPicture>& disc) {
    const std::string picture = WithControlsEscaped(entry.picture);
    Palette palette;
    int mode = options.screenMode;
    try {
        EncodedScreen screen = ScreenOf(entry, options, choices);
        palette = screen.palette;
        mode = ModeNumber(screen.screenMode);
        if (options.disc || options.tape) {
            disc.push_back(
                {StemOf(entry.picture), mode, std::move(screen.palette), std::move(screen.bytes)});
        }
    } catch (const FileError& error) {
        err << kProgram << ": " << error.what() << "\n";
        return false;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": " << picture << ": not enough memory for this picture\n";
        return false;
    } catch (const std::exception& error) {
        err << kProgram << ": " << picture << ": " << WithControlsEscaped(error.what()) << "\n";
        return false;
    }
    if (!options.quiet) {
        out << picture << " -> " << WithControlsEscaped(FilesOf(entry, options)) << " (MODE "
            << mode;
        if (!options.show && mode == 7) {
            out << ", teletext" << PictureChoicesText(choices);
        } else if (!options.show) {
            out << ", tone " << ToneNameOf(choices) << (options.stagger ? ", stagger" : "")
                << PictureChoicesText(choices);
        }
        out << ")\n";
        // What a BBC Micro must be told before it shows the screen file in these colours.
        if (const std::string vdu = Vdu19Line(palette, mode); !vdu.empty()) {
            out << vdu << "\n";
        }
    }
    return true;
}

// What a packed or double-sided disc holds: ", 3 of them compressed, 610 of 1596 sectors used".
std::string CapacityText(const DiscSummary& summary, const ConverterOptions& options) {
    std::string text;
    if (options.compress && summary.packedPictures == summary.pictures) {
        text = ", compressed";
    } else if (options.compress) {
        text = ", " + std::to_string(summary.packedPictures) + " of them compressed";
    }
    return text + ", " + std::to_string(summary.sectorsUsed) + " of " +
           std::to_string(summary.sectorsFree) + " sectors used";
}

// Writes the disc of the pictures that could be read; on failure prints
// "quillix-convert: FILE: reason" and writes nothing.
bool WriteDisc(const std::vector<DiscPicture>& pictures, const ConverterOptions& options,
               std::ostream& out, std::ostream& err) {
    const std::string path = DiscFileOf(options);
    const DiscFormat format{options.tracks, IsDoubleSidedName(path), options.compress};
    DiscSummary summary;
    try {
        if (pictures.empty()) throw FileError(path, "no picture to put on it; not written");
        summary = WriteSlideshowDisc(path, pictures, format);
    } catch (const FileError& error) {
        err << kProgram << ": " << error.what() << "\n";
        return false;
    }
    if (!options.quiet) {
        out << WithControlsEscaped(path) << ": a bootable "
            << (format.doubleSided ? "double-sided " : "") << options.tracks << "-track disc of "
            << pictures.size() << (pictures.size() == 1 ? " picture" : " pictures")
            << (format.doubleSided || format.compress ? CapacityText(summary, options) : "")
            << " (SHIFT+BREAK to start)\n";
    }
    return true;
}

// Writes the tape of the pictures that could be read; on failure prints
// "quillix-convert: FILE: reason" and writes nothing.
bool WriteTape(const std::vector<DiscPicture>& pictures, const ConverterOptions& options,
               std::ostream& out, std::ostream& err) {
    const std::string path = ToLocalPath(*options.tape);
    try {
        if (pictures.empty()) throw FileError(path, "no picture to put on it; not written");
        WriteSlideshowTape(path, pictures, options.compress);
    } catch (const FileError& error) {
        err << kProgram << ": " << error.what() << "\n";
        return false;
    }
    if (!options.quiet) {
        out << WithControlsEscaped(path) << ": a tape of " << pictures.size()
            << (pictures.size() == 1 ? " picture" : " pictures")
            << (options.compress ? ", compressed" : "") << " (CHAIN\"\" to start)\n";
    }
    return true;
}

}  // namespace

int RunConverter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 bool errIsTerminal) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    const ConverterOptions& options = parsed.options;
    if (options.help) {
        out << UsageText();
        return 0;
    }
    if (options.version) {
        out << VersionText() << "\n";
        return 0;
    }
    if (!parsed.error.empty()) return UsageError(err, parsed.error);
    const std::vector<PlannedConversion> plan = PlanConversions(options);
    if (const std::string error = PlanError(plan); !error.empty()) return UsageError(err, error);
    if (const std::string error = DiscPlanError(plan, options); !error.empty())
        return UsageError(err, error);

    const ConversionChoices choices = ChoicesOf(options);
    const bool showProgress = errIsTerminal && !options.quiet && plan.size() > 1;
    int failures = 0;
    std::vector<DiscPicture> disc;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (showProgress)
            err << "[" << i + 1 << "/" << plan.size() << "] "
                << WithControlsEscaped(plan[i].picture) << "\n";
        if (!Convert(plan[i], options, choices, out, err, disc)) ++failures;
        out.flush();
        err.flush();
    }
    if (options.disc && !WriteDisc(disc, options, out, err)) ++failures;
    if (options.tape && !WriteTape(disc, options, out, err)) ++failures;
    return failures == 0 ? 0 : 1;
}
