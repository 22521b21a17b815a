#include "cli/RunConverter.h"

#include <exception>
#include <new>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/ConvertPicture.h"
#include "cli/OutputPlan.h"
#include "convert/ConversionSettings.h"
#include "platform/files/DrivePath.h"
#include "platform/files/FileError.h"

namespace {

constexpr const char* kProgram = "quillix-convert";

int UsageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\n" << UsageText();
    return 2;
}

void ApplySettings(const ConverterOptions& options) {
    ConversionSettings = kStartSettings;
    ConversionSettings.ScreenMode = static_cast<std::int16_t>(options.screenMode);
    ConversionSettings.ToneStyle = static_cast<std::int16_t>(options.toneStyle);
    ConversionSettings.StaggerOn = options.stagger ? 1 : 0;
}

// Converts one planned picture; on failure prints "quillix-convert: FILE: reason".
bool Convert(const PlannedConversion& entry, const ConverterOptions& options, std::ostream& out,
             std::ostream& err) {
    try {
        if (!entry.conflict.empty()) throw FileError(entry.picture, entry.conflict);
        ConvertPicture(entry.picture, entry.screenFile, entry.previewFile);
    } catch (const FileError& error) {
        err << kProgram << ": " << error.what() << "\n";
        return false;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": " << entry.picture << ": not enough memory for this picture\n";
        return false;
    } catch (const std::exception& error) {
        err << kProgram << ": " << entry.picture << ": " << error.what() << "\n";
        return false;
    }
    if (!options.quiet) {
        const std::string screen = ToLocalPath(entry.screenFile);
        out << entry.picture << " -> " << screen << ", " << screen << ".inf";
        if (entry.previewFile) out << ", " << *entry.previewFile;
        out << " (MODE " << options.screenMode << ", tone " << ToneName(options.toneStyle)
            << (options.stagger ? ", stagger" : "") << ")\n";
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

    ApplySettings(options);
    const bool showProgress = errIsTerminal && !options.quiet && plan.size() > 1;
    int failures = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (showProgress)
            err << "[" << i + 1 << "/" << plan.size() << "] " << plan[i].picture << "\n";
        if (!Convert(plan[i], options, out, err)) ++failures;
        out.flush();
        err.flush();
    }
    return failures == 0 ? 0 : 1;
}
