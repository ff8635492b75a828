#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace stackmason {

// A block state taken apart: "minecraft:oak_log[axis=y]" is the block id "minecraft:oak_log"
// and the property axis = y. Files write properties in any order; these are kept by key.
struct ParsedState {
    std::string id;
    std::map<std::string, std::string, std::less<>> properties;
};

// Reads a state as files and the block-state table write it. A name without a namespace is
// in "minecraft:"; blanks round names, keys and values are dropped, and so is a property
// without "=".
ParsedState ParseState(std::string_view state);

// The game's value for a property a state leaves out, where it is the same for every block
// that has the property or this block's is known; nothing otherwise.
std::optional<std::string_view> DefaultProperty(std::string_view blockId, std::string_view key);

// Whether the game works the property out from the block's neighbours (a fence's connections,
// a grass block's snow, the distance of leaves to a log), so that it says nothing of which
// block was placed.
bool IsDerivedProperty(std::string_view blockId, std::string_view key);

// How two states of one block compare, the derived properties left out and each missing
// property taken at the game's default.
struct PropertyComparison {
    int equal = 0;
    bool same = false;  // every property equal
};
PropertyComparison CompareProperties(const ParsedState& a, const ParsedState& b);

}  // namespace stackmason
