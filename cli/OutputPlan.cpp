#include "cli/OutputPlan.h"

#include <filesystem>
#include <map>

#include "platform/DrivePath.h"

namespace {

// One spelling for one file, so that "out/a.screen" and "./out/a.screen" compare equal.
std::string Canonical(const std::string& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(ToLocalPath(path), ignored);
    return absolute.lexically_normal().string();
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

std::string StemOf(const std::string& picture) {
    return std::filesystem::path(picture).stem().string();
}

std::vector<PlannedConversion> PlanConversions(const ConverterOptions& options) {
    std::vector<PlannedConversion> plan;
    std::map<std::string, std::string> claimed;  // screen file -> the picture that writes it
    for (const std::string& picture : options.pictures) {
        PlannedConversion entry{picture, kDefaultScreenFile, std::nullopt, {}};
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
        const auto [earlier, isNew] = claimed.emplace(Canonical(entry.screenFile), picture);
        if (!isNew) {
            entry.conflict = "would replace the output of " + earlier->second + " (" +
                             ToLocalPath(entry.screenFile) + "); not converted";
        }
        plan.push_back(std::move(entry));
    }
    return plan;
}

std::string PlanError(const std::vector<PlannedConversion>& plan) {
    for (const PlannedConversion& entry : plan) {
        if (!entry.previewFile) continue;
        const std::string preview = Canonical(*entry.previewFile);
        const std::string screen = Canonical(entry.screenFile);
        if (preview == screen || preview == screen + ".inf") {
            return "--preview must name another file than the screen file and its sidecar";
        }
    }
    return {};
}
