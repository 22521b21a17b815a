// Replays the saved inputs in fuzz/regressions/TARGET through the fuzz targets' own entries: an
// input that once broke a promise (the entry stops the process) must not break it again.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/FuzzEntries.h"
#include "tests/TempFolder.h"

namespace {

struct Target {
    const char* folder;
    void (*run)(const std::uint8_t* data, std::size_t size);
};

TEST(FuzzRegressions, EverySavedInputRunsThrough) {
    const Target targets[] = {
        {"picture", RunPictureInput},
        {"registry-overlay", RunRegistryOverlayInput},
        {"disc-catalogue", RunDiscCatalogueInput},
        {"packed-screen", RunPackedScreenInput},
    };
    for (const Target& target : targets) {
        const std::filesystem::path folder =
            std::filesystem::path(QUILLIX_FUZZ_REGRESSIONS) / target.folder;
        int replayed = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            const std::string bytes = ReadFileBytes(entry.path().string());
            target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
        EXPECT_GT(replayed, 0) << "no saved inputs in " << folder;
    }
}

}  // namespace
