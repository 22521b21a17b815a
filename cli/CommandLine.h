#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/PictureOptions.h"

// What the command line of quillix-convert asks for.
struct ConverterOptions {
    int screenMode = 2;
    int toneStyle = 0;       // 0 none, 1 fine, 2 coarse, 3 spiral, 4 diagonal
    PictureOptions picture;  // -t with a kernel, --palette, --sampling, --fit, --photo
    bool stagger = false;
    std::optional<std::string> output;     // -o: the screen file of the one picture
    std::optional<std::string> outputDir;  // -d: STEM.screen for each picture
    std::optional<std::string> preview;    // --preview FILE, without -d
    bool previewInOutputDir = false;       // --preview with -d: STEM.png next to STEM.screen
    std::optional<std::string> disc;       // --disc: a bootable disc image of all the pictures
    int tracks = 80;                       // --tracks: of the disc, 40 or 80
    std::optional<std::string> tape;       // --tape: a tape image (.uef) of all the pictures
    bool compress = false;                 // --compress: the screens packed on the disc or tape
    std::optional<std::string> display;    // --display: the 640 x 512 monitor picture as PNG
    bool show = false;                     // --show: the PICTUREs are screen files of MODE -m
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> pictures;
};

struct ParsedCommandLine {
    ConverterOptions options;
    std::string error;  // a usage error, one line; empty when the command line is sound
};

// Reads the arguments after the program name (with CLI11). Short options may be clustered
// ("-sq") and take their value attached or as the next argument ("-m4", "-m 4"); long options
// take "=VALUE" or the next argument; "--" ends the options; the last of a repeated option counts.
// With -d, --preview takes no FILE. To add an option, give ConverterOptions a field and
// ParseCommandLine one add_option or add_flag, with a check whose failure reads
// "invalid WHAT 'VALUE': use ..."; mention it in UsageText.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The usage text shown by --help and after a usage error.
std::string UsageText();

// "quillix-convert 1.0.0"
std::string VersionText();
