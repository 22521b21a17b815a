#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

namespace {

#define QUILLIX_STRINGIFY_(x) #x
#define QUILLIX_STRINGIFY(x) QUILLIX_STRINGIFY_(x)
constexpr const char* kVersion = QUILLIX_STRINGIFY(QUILLIX_VERSION_MAJOR) "." QUILLIX_STRINGIFY(
    QUILLIX_VERSION_MINOR) "." QUILLIX_STRINGIFY(QUILLIX_VERSION_PATCH);

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsPng(const std::string& file) {
    return Lower(std::filesystem::path(file).extension().string()) == ".png";
}

constexpr const char* kNoPreviewFile =
    "with -d, --preview takes no FILE: the previews go to D/STEM.png";

// A value checker for CLI11 whose failure is our own one-line message.
CLI::Validator Check(std::function<std::string(const std::string&)> check) {
    return CLI::Validator([check](std::string& value) { return check(value); }, "");
}

// The arguments up to "--", where options can stand.
std::vector<std::string> OptionArea(const std::vector<std::string>& args) {
    return {args.begin(), std::find(args.begin(), args.end(), "--")};
}

bool Asked(const std::vector<std::string>& args, const char* shortName, const char* longName) {
    const auto area = OptionArea(args);
    return std::any_of(area.begin(), area.end(),
                       [&](const std::string& arg) { return arg == shortName || arg == longName; });
}

// How the user spelt the option that CLI11 names in a message ("--mode: ..."): the last
// argument that names it, so that "-m" is reported as "-m".
std::string Spelling(const CLI::App& app, const std::vector<std::string>& args,
                     const std::string& message) {
    const std::string name = message.substr(0, message.find(':'));
    const CLI::Option* option = nullptr;
    for (const CLI::Option* candidate : app.get_options())
        if (candidate->check_name(name)) option = candidate;
    if (option == nullptr) return name;
    const auto area = OptionArea(args);
    for (auto arg = area.rbegin(); arg != area.rend(); ++arg) {
        const std::string head = arg->substr(0, arg->find('='));
        if (option->check_name(head)) return head;
        if (head.size() >= 2 && head[0] == '-' && head[1] != '-' &&
            option->check_sname(std::string(1, head.back())))
            return "-" + std::string(1, head.back());
    }
    return name;
}

// CLI11's complaint, said the way this program says its usage errors.
std::string UsageMessage(const CLI::App& app, const std::vector<std::string>& args,
                         const CLI::ParseError& error) {
    const std::string message = error.what();
    const std::string name = Spelling(app, args, message);
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
        // "invalid mode '3': use ..." names the option as it was given: "... '3' for -m: use".
        std::string said = message.substr(message.find(':') + 2);
        if (const auto use = said.find(": use "); said.starts_with("invalid ") && use != said.npos)
            said.insert(use, " for " + name);
        return said;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr)
        return "unknown option " + message.substr(message.rfind(' ') + 1);
    if (message.find("disallowed flag override") != std::string::npos)
        return "--" + message.substr(0, message.find(' ')) + " takes no value";
    if (message.find("required") != std::string::npos) return name + " needs a value";
    return message;
}

// Puts the --preview value back among the pictures, in its place on the command line.
void InsertPicture(std::vector<std::string>& pictures, const std::vector<std::string>& args,
                   std::size_t place) {
    std::size_t before = 0;
    for (std::size_t i = 0, next = 0; i < place && next < pictures.size(); ++i)
        if (args[i] == pictures[next]) ++before, ++next;
    pictures.insert(pictures.begin() + static_cast<std::ptrdiff_t>(before), args[place]);
}

// With -d, --preview takes no FILE; without it, it needs one.
void SettlePreview(ParsedCommandLine& result, const CLI::Option& preview,
                   const std::string& previewValue, const std::vector<std::string>& args) {
    ConverterOptions& o = result.options;
    if (preview.count() == 0) return;
    const auto area = OptionArea(args);
    const auto last = std::find_if(area.rbegin(), area.rend(), [](const std::string& arg) {
        return arg.rfind("--preview", 0) == 0;
    });
    const bool attached = last->find('=') != std::string::npos;
    const bool valued = attached || (!previewValue.empty() && last != area.rbegin());
    if (!o.outputDir) {
        if (previewValue.empty()) {
            result.error = "--preview needs a FILE";
        } else {
            o.preview = previewValue;
        }
        return;
    }
    o.previewInOutputDir = true;
    if (attached) {
        result.error = kNoPreviewFile;
    } else if (valued && IsPng(previewValue)) {
        // Most likely meant as the preview's name rather than as a picture.
        result.error =
            std::string(kNoPreviewFile) + "; to convert " + previewValue + ", put --preview last";
    } else if (valued) {
        InsertPicture(o.pictures, args, static_cast<std::size_t>(area.rend() - last));
    }
}

// What --show, --disc, --tracks and --display combine with.
std::string ValidateScreenOutputs(const ConverterOptions& o, bool tracksGiven, bool toneGiven) {
    if (tracksGiven && !o.disc) return "--tracks needs --disc";
    if (o.compress && !o.disc && !o.tape) return "--compress needs --disc or --tape";
    if (o.display && o.pictures.size() > 1) return "--display takes a single PICTURE";
    if (!o.show) return {};
    if (o.output || o.outputDir || o.preview || o.previewInOutputDir || toneGiven || o.stagger)
        return "--show reads screen files: -o, -d, --preview, -t and -s do not apply";
    if (!o.disc && !o.display && !o.tape) return "--show needs --display FILE or --disc FILE";
    // A palette LIST says which colours the screen's logical colours stand for; the rest choose
    // how a picture is converted.
    const PictureOptions& p = o.picture;
    const std::pair<bool, const char*> conversionOnly[] = {
        {p.photo, "--photo"},
        {p.sampling.has_value(), "--sampling"},
        {p.fit.has_value(), "--fit"},
        {p.paletteChoice == PaletteChoice::Best, "--palette best"},
    };
    for (const auto& [given, option] : conversionOnly)
        if (given) return std::string(option) + " does not apply to existing screen files (--show)";
    return {};
}

std::string Validate(const ConverterOptions& o) {
    if (o.pictures.empty()) return "no PICTURE given";
    if (o.output && o.outputDir) return "-o and -d cannot be used together";
    if (o.pictures.size() > 1 && !o.outputDir && !o.disc && !o.tape)
        return "several pictures need -d D: -o and the default output take one picture";
    if (std::string error = CheckPictureOptions(o.picture, o.screenMode); !error.empty())
        return error;
    if (o.screenMode == 7 && !o.show && (o.picture.diffusion || o.stagger))
        return "MODE 7 chooses its own sixels: -t and -s do not apply";
    return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine result;
    ConverterOptions& o = result.options;
    CLI::App app;
    app.set_help_flag();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    app.add_option("-m,--mode", o.screenMode)->check(Check([](const std::string& value) {
        return value.size() == 1 && std::string("012457").find(value[0]) != std::string::npos
                   ? std::string()
                   : "invalid mode '" + value + "': use 0, 1, 2, 4, 5 or 7";
    }));
    // The picture choices are read once the whole command line is known, so that an option given
    // outright wins over --photo wherever each stands.
    std::string tone, palette, sampling, fit;
    const auto checked = [](std::string (*read)(const std::string&, PictureOptions&)) {
        return Check([read](const std::string& value) {
            PictureOptions scratch;
            return read(value, scratch);
        });
    };
    CLI::Option* toneOption = app.add_option("-t,--tone", tone)->check(checked(ReadTone));
    CLI::Option* paletteOption = app.add_option("--palette", palette)->check(checked(ReadPalette));
    CLI::Option* samplingOption =
        app.add_option("--sampling", sampling)->check(checked(ReadSampling));
    CLI::Option* fitOption = app.add_option("--fit", fit)->check(checked(ReadFit));
    app.add_flag("--photo", o.picture.photo)->disable_flag_override();
    app.add_option("--brightness")->check(checked(ReadBrightness));
    app.add_option("--contrast")->check(checked(ReadContrast));
    app.add_option("--saturation")->check(checked(ReadSaturation));
    app.add_option("--gamma")->check(checked(ReadGamma));
    app.add_flag("--auto-levels", o.picture.autoLevels)->disable_flag_override();
    app.add_flag("-s,--stagger", o.stagger)->disable_flag_override();
    app.add_option("-o,--output", o.output)->check(Check([](const std::string& value) {
        return value.empty() ? "-o needs a FILE" : "";
    }));
    app.add_option("-d,--output-dir", o.outputDir)->check(Check([](const std::string& value) {
        return value.empty() ? "-d needs a folder" : "";
    }));
    std::string previewValue;
    CLI::Option* preview = app.add_option("--preview", previewValue)->expected(0, 1);
    app.add_option("--disc", o.disc)->check(Check([](const std::string& value) {
        return value.empty() ? "--disc needs a FILE" : "";
    }));
    CLI::Option* tracks =
        app.add_option("--tracks", o.tracks)->check(Check([](const std::string& value) {
            return value == "40" || value == "80" ? std::string()
                                                  : "invalid tracks '" + value + "': use 40 or 80";
        }));
    app.add_option("--tape", o.tape)->check(Check([](const std::string& value) {
        return value.empty() ? "--tape needs a FILE" : "";
    }));
    app.add_flag("--compress", o.compress)->disable_flag_override();
    app.add_option("--display", o.display)->check(Check([](const std::string& value) {
        return value.empty() ? "--display needs a FILE" : "";
    }));
    app.add_flag("--show", o.show)->disable_flag_override();
    app.add_flag("-q,--quiet", o.quiet)->disable_flag_override();
    app.add_flag("-h,--help", o.help)->disable_flag_override();
    app.add_flag("--version", o.version)->disable_flag_override();
    app.add_option("PICTURE", o.pictures);

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        result.error = UsageMessage(app, args, error);
    }
    // Help and the version win over any mistake on the same command line.
    o.help = o.help || Asked(args, "-h", "--help");
    o.version = o.version || Asked(args, "--version", "--version");
    if (!result.error.empty() || o.help || o.version) return result;
    if (toneOption->count() > 0) {
        ReadTone(tone, o.picture);
        o.toneStyle = o.picture.toneStyle;
    }
    if (paletteOption->count() > 0) ReadPalette(palette, o.picture);
    if (samplingOption->count() > 0) ReadSampling(sampling, o.picture);
    if (fitOption->count() > 0) ReadFit(fit, o.picture);
    using Reader = std::string (*)(const std::string&, PictureOptions&);
    const std::pair<const char*, Reader> adjustments[] = {{"--brightness", ReadBrightness},
                                                          {"--contrast", ReadContrast},
                                                          {"--saturation", ReadSaturation},
                                                          {"--gamma", ReadGamma}};
    for (const auto& [name, read] : adjustments) {
        if (const CLI::Option* given = app.get_option(name); given->count() > 0)
            read(given->as<std::string>(), o.picture);
    }
    SettlePreview(result, *preview, previewValue, args);
    if (result.error.empty())
        result.error = ValidateScreenOutputs(o, tracks->count() > 0, toneOption->count() > 0);
    if (result.error.empty()) result.error = Validate(o);
    return result;
}

std::string UsageText() {
    return std::string(
               "Usage: quillix-convert [options] PICTURE...\n"
               "Turns pictures (BMP, JPEG, PNG and more) into BBC Micro screen files, as the "
               "Quillix\n"
               "window does.\n"
               "\n"
               "  -m, --mode N        0, 1, 2, 4 or 5, or 7 for a teletext picture (default 2)\n") +
           kPictureOptionsUsage +
           "  -s, --stagger       turn the Stagger option on\n"
           "  -o, --output FILE   the screen file for a single PICTURE; FILE.inf gets the sidecar\n"
           "  -d, --output-dir D  for one or more PICTUREs: D/STEM.screen and D/STEM.screen.inf,\n"
           "                      STEM the picture's file name without its extension\n"
           "      --preview FILE  also write the 320 x 256 converted preview as PNG (single\n"
           "                      PICTURE); with -d, --preview alone writes D/STEM.png\n"
           "      --disc FILE     also put all the PICTUREs, in order, on a bootable BBC Micro\n"
           "                      disc image (DFS .ssd; SHIFT+BREAK shows them one by one,\n"
           "                      a key for the next); without -o or -d it is the only output\n"
           "                      (a FILE ending in .dsd: double-sided, going on to drive 2)\n"
           "      --tracks N      the disc's size: 40 or 80 tracks (default 80)\n"
           "      --tape FILE     also put all the PICTUREs, in order, on a tape image (.uef;\n"
           "                      CHAIN\"\" shows them one by one)\n"
           "      --compress      pack each screen on the disc or tape, to be unpacked by the\n"
           "                      BBC Micro as it is shown: more pictures, sooner on screen\n"
           "      --display FILE  also write the 640 x 512 picture a monitor shows, as PNG,\n"
           "                      decoded from the screen bytes (single PICTURE)\n"
           "      --show          the PICTUREs are screen files of MODE -m (20480 or 10240\n"
           "                      bytes; 1000 bytes is a MODE 7 page) to render with --display\n"
           "                      or put on a --disc, in the colours of --palette LIST if given:\n"
           "                        quillix-convert --show -m 1 old.screen --display old.png\n"
           "  -q, --quiet         no progress output\n"
           "  -h, --help          show this help\n"
           "      --version       show the version\n"
           "\n"
           "Without -o, -d, --disc or --show the one PICTURE goes to c:\\$.screen and\n"
           "c:\\$.screen.inf, where c:\\ is the folder named by QUILLIX_DRIVE_C, or your home\n"
           "folder.\n"
           "Exit status: 0 all converted, 1 some picture or output failed, 2 usage error.\n";
}

std::string VersionText() {
    return std::string("quillix-convert ") + kVersion;
}
