#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <utility>

namespace {

constexpr std::array<const char*, 5> kToneNames{"none", "fine", "coarse", "spiral", "diagonal"};

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

// Reads the arguments one by one, keeping the first error but going on, so that --help
// anywhere still gives help.
class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    ParsedCommandLine Run() {
        for (next_ = 0; next_ < args_.size();) {
            const std::string& arg = args_[next_++];
            if (optionsEnded_ || arg == "-" || arg.empty() || arg[0] != '-') {
                AddPicture(arg);
            } else if (arg == "--") {
                optionsEnded_ = true;
            } else if (arg.rfind("--", 0) == 0) {
                Long(arg);
            } else {
                ShortCluster(arg);
            }
        }
        SettlePreview();
        if (!result_.options.help && !result_.options.version) Validate();
        return std::move(result_);
    }

private:
    void Fail(const std::string& message) {
        if (result_.error.empty()) result_.error = message;
    }

    void AddPicture(const std::string& picture) { pictures_.emplace_back(next_ - 1, picture); }

    // The next argument as an option's value, or nothing at the end.
    std::optional<std::string> TakeNext() {
        if (next_ >= args_.size()) return std::nullopt;
        return args_[next_++];
    }

    void Long(const std::string& arg) {
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        std::optional<std::string> attached;
        if (equals != std::string::npos) attached = arg.substr(equals + 1);

        const auto flag = [&](bool& field) {
            if (attached) Fail(name + " takes no value");
            field = true;
        };
        if (name == "--stagger") return flag(result_.options.stagger);
        if (name == "--quiet") return flag(result_.options.quiet);
        if (name == "--help") return flag(result_.options.help);
        if (name == "--version") return flag(result_.options.version);
        if (name == "--preview") {
            previewSeen_ = true;
            previewAttached_ = attached.has_value();
            if (attached) {
                previewValue_ = {next_ - 1, *attached};
            } else if (next_ < args_.size() && !LooksLikeOption(args_[next_])) {
                // Taken for now; with -d it turns out to be a picture after all.
                previewValue_ = {next_, args_[next_]};
                ++next_;
            } else {
                previewValue_.reset();
            }
            return;
        }
        const char* shortName = name == "--mode"         ? "m"
                                : name == "--tone"       ? "t"
                                : name == "--output"     ? "o"
                                : name == "--output-dir" ? "d"
                                                         : nullptr;
        if (shortName == nullptr) return Fail("unknown option " + name);
        std::optional<std::string> value = attached ? attached : TakeNext();
        if (!value) return Fail(name + " needs a value");
        Valued(shortName[0], name, *value);
    }

    void ShortCluster(const std::string& arg) {
        for (std::size_t i = 1; i < arg.size(); ++i) {
            const char c = arg[i];
            const std::string name = std::string("-") + c;
            switch (c) {
                case 's':
                    result_.options.stagger = true;
                    continue;
                case 'q':
                    result_.options.quiet = true;
                    continue;
                case 'h':
                    result_.options.help = true;
                    continue;
                case 'm':
                case 't':
                case 'o':
                case 'd': {
                    std::optional<std::string> value =
                        i + 1 < arg.size() ? std::optional(arg.substr(i + 1)) : TakeNext();
                    if (!value) return Fail(name + " needs a value");
                    return Valued(c, name, *value);
                }
                default:
                    return Fail("unknown option " + name);
            }
        }
    }

    void Valued(char option, const std::string& name, const std::string& value) {
        ConverterOptions& o = result_.options;
        switch (option) {
            case 'm':
                if (value.size() == 1 && std::string("01245").find(value[0]) != std::string::npos) {
                    o.screenMode = value[0] - '0';
                } else {
                    Fail("invalid mode '" + value + "' for " + name + ": use 0, 1, 2, 4 or 5");
                }
                return;
            case 't': {
                const auto found = std::find(kToneNames.begin(), kToneNames.end(), Lower(value));
                if (found == kToneNames.end()) {
                    Fail("invalid tone '" + value + "' for " + name +
                         ": use none, fine, coarse, spiral or diagonal");
                } else {
                    o.toneStyle = static_cast<int>(found - kToneNames.begin());
                }
                return;
            }
            case 'o':
                if (value.empty()) return Fail(name + " needs a FILE");
                o.output = value;
                return;
            case 'd':
                if (value.empty()) return Fail(name + " needs a folder");
                o.outputDir = value;
                return;
        }
    }

    static bool LooksLikeOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

    void SettlePreview() {
        ConverterOptions& o = result_.options;
        if (previewSeen_) {
            if (o.outputDir) {
                if (previewAttached_) {
                    Fail(kNoPreviewFile);
                } else if (previewValue_ && IsPng(previewValue_->second)) {
                    // Most likely meant as the preview's name rather than as a picture.
                    Fail(std::string(kNoPreviewFile) + "; to convert " + previewValue_->second +
                         ", put --preview last");
                } else if (previewValue_) {
                    pictures_.push_back(*previewValue_);
                }
                o.previewInOutputDir = true;
            } else if (!previewValue_ || previewValue_->second.empty()) {
                Fail("--preview needs a FILE");
            } else {
                o.preview = previewValue_->second;
            }
        }
        std::sort(pictures_.begin(), pictures_.end());
        for (auto& picture : pictures_) o.pictures.push_back(std::move(picture.second));
    }

    void Validate() {
        const ConverterOptions& o = result_.options;
        if (o.pictures.empty()) Fail("no PICTURE given");
        if (o.output && o.outputDir) Fail("-o and -d cannot be used together");
        if (o.pictures.size() > 1 && !o.outputDir) {
            Fail("several pictures need -d D: -o and the default output take one picture");
        }
    }

    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
    bool optionsEnded_ = false;
    std::vector<std::pair<std::size_t, std::string>> pictures_;  // with their places
    bool previewSeen_ = false;
    bool previewAttached_ = false;
    std::optional<std::pair<std::size_t, std::string>> previewValue_;
    ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    return Parser(args).Run();
}

std::string UsageText() {
    return "Usage: quillix-convert [options] PICTURE...\n"
           "Turns pictures (BMP, JPEG, PNG and more) into BBC Micro screen files, as the Quillix\n"
           "window does.\n"
           "\n"
           "  -m, --mode N        0, 1, 2, 4 or 5 (default 2)\n"
           "  -t, --tone NAME     none, fine, coarse, spiral or diagonal (default none)\n"
           "  -s, --stagger       turn the Stagger option on\n"
           "  -o, --output FILE   the screen file for a single PICTURE; FILE.inf gets the sidecar\n"
           "  -d, --output-dir D  for one or more PICTUREs: D/STEM.screen and D/STEM.screen.inf,\n"
           "                      STEM the picture's file name without its extension\n"
           "      --preview FILE  also write the 320 x 256 converted preview as PNG (single\n"
           "                      PICTURE); with -d, --preview alone writes D/STEM.png\n"
           "  -q, --quiet         no progress output\n"
           "  -h, --help          show this help\n"
           "      --version       show the version\n"
           "\n"
           "Without -o or -d the one PICTURE goes to c:\\$.screen and c:\\$.screen.inf, where "
           "c:\\\n"
           "is the folder named by QUILLIX_DRIVE_C, or your home folder.\n"
           "Exit status: 0 all converted, 1 some picture or output failed, 2 usage error.\n";
}

std::string VersionText() {
    return std::string("quillix-convert ") + kVersion;
}

const char* ToneName(int toneStyle) {
    return kToneNames.at(static_cast<std::size_t>(toneStyle));
}
