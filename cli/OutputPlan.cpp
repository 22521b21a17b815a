#include "cli/OutputPlan.h"

#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "platform/files/DrivePath.h"
#include "platform/files/LinkTarget.h"
#include "screen/ScreenFiles.h"

namespace {

// One spelling for one file, so that "out/a.screen", "./out/a.screen" and a link to it compare
// equal. The file need not exist yet, nor the file a link points at.
std::string Identity(const std::string& localPath) {
    std::string target = localPath;
    try {
        target = LinkTarget(localPath);
    } catch (const FileError&) {
        // A loop of links: writing to it fails and says so.
    }
    std::error_code failed;
    const auto absolute = std::filesystem::absolute(target, failed);
    if (failed) return std::filesystem::path(target).lexically_normal().string();
    const auto canonical = std::filesystem::weakly_canonical(absolute, failed);
    return failed ? absolute.lexically_normal().string() : canonical.string();
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The files an entry writes, as local paths.
std::vector<std::string> OutputsOf(const PlannedConversion& entry) {
    std::vector<std::string> outputs;
    if (!entry.screenFile.empty()) {
        const std::string screen = ToLocalPath(entry.screenFile);
        outputs = {screen, screen + ".inf"};
    }
    if (entry.previewFile) outputs.push_back(*entry.previewFile);
    if (entry.displayFile) outputs.push_back(*entry.displayFile);
    return outputs;
}

// The input picture that one of the entry's files would replace, and that file; or nothing.
std::optional<std::pair<std::string, std::string>> ReplacedPicture(
    const PlannedConversion& entry, const std::map<std::string, std::string>& pictures) {
    std::vector<std::string> outputs = OutputsOf(entry);
    for (const std::string& output : outputs) {
        const auto found = pictures.find(Identity(output));
        if (found != pictures.end()) return std::pair(found->second, output);
    }
    return std::nullopt;
}

// Claims the entry's files for its picture; or, when an earlier picture has claimed one of them
// (by any spelling or link), returns that picture and the file.
std::optional<std::pair<std::string, std::string>> ClaimOutputs(
    const PlannedConversion& entry, std::map<std::string, std::string>& claimed) {
    const std::vector<std::string> outputs = OutputsOf(entry);
    for (const std::string& output : outputs) {
        const auto found = claimed.find(Identity(output));
        if (found != claimed.end()) return std::pair(found->second, output);
    }
    for (const std::string& output : outputs) claimed.emplace(Identity(output), entry.picture);
    return std::nullopt;
}

}  // namespace

std::string StemOf(const std::string& picture) {
    return std::filesystem::path(picture).stem().string();
}

std::vector<PlannedConversion> PlanConversions(const ConverterOptions& options) {
    // A picture is read where it is named; no drive mapping applies to it.
    std::map<std::string, std::string> pictures;  // identity -> the picture as named
    for (const std::string& picture : options.pictures) {
        pictures.emplace(Identity(picture), picture);
    }

    std::vector<PlannedConversion> plan;
    std::map<std::string, std::string> claimed;  // output -> the picture that writes it
    for (const std::string& picture : options.pictures) {
        PlannedConversion entry{picture, kScreenFileName, std::nullopt, std::nullopt, {}};
        // A disc, or a rendered screen file, is the output in itself.
        if (options.show || ((options.disc || options.tape) && !options.output))
            entry.screenFile.clear();
        if (options.display) entry.displayFile = ToLocalPath(*options.display);
        if (options.outputDir) {
            const std::string stem = StemOf(picture);
            entry.screenFile = Join(*options.outputDir, stem + ".screen");
            if (options.previewInOutputDir) {
                entry.previewFile = ToLocalPath(Join(*options.outputDir, stem + ".png"));
            }
        } else {
            if (options.output) entry.screenFile = *options.output;
            if (options.preview) entry.previewFile = ToLocalPath(*options.preview);
        }
        if (const auto replaced = ReplacedPicture(entry, pictures)) {
            entry.conflict = "would replace the picture " + replaced->first + " (" +
                             replaced->second + "); not converted";
        } else if (const auto earlier = ClaimOutputs(entry, claimed)) {
            entry.conflict = "would replace the output of " + earlier->first + " (" +
                             earlier->second + "); not converted";
        }
        plan.push_back(std::move(entry));
    }
    return plan;
}

std::string DiscFileOf(const ConverterOptions& options) {
    return options.disc ? ToLocalPath(*options.disc) : std::string();
}

std::string PlanError(const std::vector<PlannedConversion>& plan) {
    for (const PlannedConversion& entry : plan) {
        const std::string screen = ToLocalPath(entry.screenFile);
        const auto isScreen = [&](const std::string& file) {
            return !entry.screenFile.empty() && (Identity(file) == Identity(screen) ||
                                                 Identity(file) == Identity(screen + ".inf"));
        };
        if (entry.previewFile && isScreen(*entry.previewFile)) {
            return "--preview must name another file than the screen file and its sidecar";
        }
        if (entry.displayFile &&
            (isScreen(*entry.displayFile) ||
             (entry.previewFile && Identity(*entry.displayFile) == Identity(*entry.previewFile)))) {
            return "--display must name another file than the screen file, sidecar and preview";
        }
    }
    return {};
}

namespace {

// A usage error of one image output (--disc or --tape), or empty.
std::string ImagePlanError(const std::vector<PlannedConversion>& plan, const std::string& option,
                           const std::string& path) {
    const std::string image = Identity(path);
    for (const PlannedConversion& entry : plan) {
        if (Identity(entry.picture) == image)
            return option + " would replace the picture " + entry.picture;
        for (const std::string& output : OutputsOf(entry)) {
            if (Identity(output) == image)
                return option +
                       " must name another file than the screen files and pictures written";
        }
    }
    return {};
}

}  // namespace

std::string DiscPlanError(const std::vector<PlannedConversion>& plan,
                          const ConverterOptions& options) {
    const std::string tape = options.tape ? ToLocalPath(*options.tape) : std::string();
    if (options.disc && options.tape && Identity(DiscFileOf(options)) == Identity(tape))
        return "--disc and --tape must name two files";
    if (options.disc) {
        if (std::string error = ImagePlanError(plan, "--disc", DiscFileOf(options)); !error.empty())
            return error;
    }
    return options.tape ? ImagePlanError(plan, "--tape", tape) : std::string();
}
