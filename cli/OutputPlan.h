#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

// Where one picture's files go.
struct PlannedConversion {
    std::string picture;
    std::string screenFile;                  // "c:\" paths are placed when written; empty for none
    std::optional<std::string> previewFile;  // a local path
    std::optional<std::string> displayFile;  // a local path
    std::string conflict;                    // why this picture must not be converted, or empty
};

// One entry per picture, in order. A picture whose screen file, sidecar or preview is one of the
// pictures on the command line, or one of an earlier picture's files (with -d, the same STEM),
// gets a conflict instead of silently replacing that file. Names are compared by any spelling
// and through links, a link to a file not yet made included.
std::vector<PlannedConversion> PlanConversions(const ConverterOptions& options);

// The file name without its folder and its last extension: "shots/cat.jpg" gives "cat".
std::string StemOf(const std::string& picture);

// A usage error in the plan (a preview or display that would replace the screen file), or empty.
std::string PlanError(const std::vector<PlannedConversion>& plan);

// The --disc file as a local path ("c:\" placed by the drive mapping), or "" without --disc.
std::string DiscFileOf(const ConverterOptions& options);

// A usage error of --disc or --tape (an image that would replace a picture, another output or
// the other image), or empty.
std::string DiscPlanError(const std::vector<PlannedConversion>& plan,
                          const ConverterOptions& options);
