#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <random>
#include <string>

#include "tests/editor/support/EditorFixture.h"

namespace stackmason::testing {

// One editor driven by random user actions: mouse strokes on the canvas in both views, every
// command of the dispatch table, view switches, layer changes, new buildings, and saving and
// loading through the file requesters in a folder of its own, which holds the default packs.
// After every action the building's invariants are checked; the first that fails is kept as
// Failure(), with the seed, the action's number and the actions that led to it.
class EditorSoak {
public:
    EditorSoak(std::uint32_t seed, const std::filesystem::path& folder);

    // Runs actions until one breaks an invariant; false then.
    bool Run(int actions);
    // One random action, then the invariants; false when one broke.
    bool Step();
    // The invariants alone, for actions others take on the same editor.
    bool Check();
    bool Fail(const std::string& what);
    Editor& State() { return editor_; }
    std::string PathFor(const std::string& name) const;
    // Keeps an action among the last ones a failure lists.
    void Note(std::string action);
    const std::string& Failure() const { return failure_; }
    int RoundTrips() const { return roundTrips_; }

private:
    void Act();
    void ActOnce();
    void Stroke();
    void Command();
    void ChangeLayer();
    void MakeNewBuilding();
    void SaveAndLoadText();
    void SaveAndLoadSchematic();
    void LoadDamagedFile();

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    EditorFixture fixture_;
    Editor& editor_;
    std::uint32_t seed_;
    std::filesystem::path folder_;
    std::mt19937 random_;
    std::deque<std::string> recent_;
    int actionNumber_ = 0;
    int roundTrips_ = 0;
    std::string failure_;
};

}  // namespace stackmason::testing
