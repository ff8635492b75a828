#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "tests/editor/soak/EditorSoak.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

int EnvironmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

// A folder holding copies of the default packs, made the current directory while the soak
// runs, since the editor opens packs by bare name from there.
class SoakFolder {
public:
    SoakFolder() : path_(fs::temp_directory_path() / ("stackmason-soak-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
        for (const char* pack : {"stackmason.zip", "minecraft.zip"})
            fs::copy_file(fs::path(STACKMASON_PACK_DIR) / pack, path_ / pack, fs::copy_options::overwrite_existing);
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~SoakFolder() {
        fs::current_path(previous_);
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
    fs::path previous_;
};

// Seeds 1..4 with 1,000 actions each by default; STACKMASON_SOAK_SEED runs that seed alone
// and STACKMASON_SOAK_ACTIONS sets the actions per seed.
TEST(EditorSoak, RandomActionsKeepTheBuildingWhole) {
    const int actions = EnvironmentNumber("STACKMASON_SOAK_ACTIONS", 1000);
    const int onlySeed = EnvironmentNumber("STACKMASON_SOAK_SEED", 0);
    const int firstSeed = onlySeed > 0 ? onlySeed : 1;
    const int lastSeed = onlySeed > 0 ? onlySeed : 4;
    SoakFolder folder;
    long total = 0;
    int roundTrips = 0;
    for (int seed = firstSeed; seed <= lastSeed; ++seed) {
        EditorSoak soak(static_cast<std::uint32_t>(seed), folder.Path());
        const bool whole = soak.Run(actions);
        ASSERT_TRUE(whole) << soak.Failure();
        total += actions;
        roundTrips += soak.RoundTrips();
    }
    EXPECT_GT(roundTrips, 0);
    std::cout << "soak: " << total << " actions, " << roundTrips << " save-load round trips\n";
}

}  // namespace
}  // namespace stackmason::testing
