#include "editor/files/BlockProperties.h"

#include <array>
#include <set>

namespace stackmason {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool EndsWith(std::string_view text, std::string_view end) { return text.ends_with(end); }

// Properties that are "false" for every block that has them, but for the exceptions below.
constexpr std::array kFalseByDefault{
    std::string_view("waterlogged"), std::string_view("powered"),  std::string_view("open"),
    std::string_view("unstable"),    std::string_view("snowy"),    std::string_view("persistent"),
    std::string_view("attached"),    std::string_view("triggered"), std::string_view("occupied"),
    std::string_view("in_wall"),     std::string_view("disarmed"),  std::string_view("hanging"),
};

// Blocks that stand lit until something puts them out.
constexpr std::array kLitByDefault{
    std::string_view("minecraft:redstone_torch"), std::string_view("minecraft:redstone_wall_torch"),
    std::string_view("minecraft:campfire"), std::string_view("minecraft:soul_campfire"),
};

// Blocks that stand in water when placed: corals, sea pickles, the conduit.
bool WaterloggedByDefault(std::string_view id) {
    return id.find("coral") != std::string_view::npos || id == "minecraft:sea_pickle" || id == "minecraft:conduit";
}

// Blocks that point up when placed.
bool FacingUpByDefault(std::string_view id) {
    return EndsWith(id, "shulker_box") || EndsWith(id, ":end_rod") || EndsWith(id, "lightning_rod") ||
           EndsWith(id, "amethyst_cluster") || EndsWith(id, "_amethyst_bud");
}

// Two-block plants, whose halves are "lower" and "upper" as a door's.
bool IsTallPlant(std::string_view id) {
    constexpr std::array kTall{std::string_view(":tall_grass"),    std::string_view(":large_fern"),
                               std::string_view(":sunflower"),     std::string_view(":lilac"),
                               std::string_view(":rose_bush"),     std::string_view(":peony"),
                               std::string_view(":tall_seagrass"), std::string_view(":pitcher_plant"),
                               std::string_view(":pitcher_crop"),  std::string_view(":small_dripleaf")};
    for (const std::string_view tall : kTall)
        if (EndsWith(id, tall))
            return true;
    return false;
}

bool IsConnectionSide(std::string_view key) {
    return key == "north" || key == "east" || key == "south" || key == "west" || key == "up";
}

// Blocks that join their neighbours: fences, panes, bars and walls (not wall torches, signs
// or banners, whose ids only contain "_wall").
bool JoinsNeighbours(std::string_view id) {
    return EndsWith(id, "_fence") || EndsWith(id, "_pane") || EndsWith(id, ":iron_bars") || EndsWith(id, "_wall") ||
           EndsWith(id, "_bars");
}

}  // namespace

ParsedState ParseState(std::string_view state) {
    ParsedState parsed;
    const std::size_t open = state.find('[');
    const std::string_view id = Trimmed(state.substr(0, open));
    parsed.id = id.find(':') == std::string_view::npos ? "minecraft:" + std::string(id) : std::string(id);
    if (open == std::string_view::npos)
        return parsed;
    std::string_view rest = state.substr(open + 1);
    if (const std::size_t close = rest.rfind(']'); close != std::string_view::npos)
        rest = rest.substr(0, close);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view pair = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(pair.substr(0, equals));
        if (!key.empty())
            parsed.properties.insert_or_assign(std::string(key), std::string(Trimmed(pair.substr(equals + 1))));
    }
    return parsed;
}

std::optional<std::string_view> DefaultProperty(std::string_view blockId, std::string_view key) {
    if (key == "waterlogged" && WaterloggedByDefault(blockId))
        return "true";
    for (const std::string_view falseKey : kFalseByDefault)
        if (key == falseKey)
            return "false";
    if (key == "lit") {
        for (const std::string_view lit : kLitByDefault)
            if (blockId == lit)
                return "true";
        return "false";
    }
    if (key == "axis")
        return blockId == "minecraft:nether_portal" ? "x" : "y";
    if (key == "facing") {
        if (blockId == "minecraft:hopper")
            return "down";
        if (FacingUpByDefault(blockId))
            return "up";
        return blockId == "minecraft:observer" ? "south" : "north";
    }
    if (key == "half")
        return EndsWith(blockId, "_door") || IsTallPlant(blockId) ? "lower" : "bottom";
    if (key == "type") {
        if (EndsWith(blockId, "_slab"))
            return "bottom";
        if (EndsWith(blockId, "chest"))
            return "single";
        return std::nullopt;
    }
    if (key == "shape" && EndsWith(blockId, "_stairs"))
        return "straight";
    if (key == "hinge")
        return "left";
    if (key == "level") {
        if (blockId == "minecraft:light")
            return "15";
        return EndsWith(blockId, "_cauldron") ? "1" : "0";
    }
    if (key == "age" || key == "note")
        return "0";
    if (key == "layers")
        return "1";
    if (key == "distance" && EndsWith(blockId, "_leaves"))
        return "7";
    if (key == "instrument" && blockId == "minecraft:note_block")
        return "harp";
    return std::nullopt;
}

bool IsDerivedProperty(std::string_view blockId, std::string_view key) {
    if (IsConnectionSide(key))
        return JoinsNeighbours(blockId);
    if (key == "snowy")
        return true;
    if (key == "distance")
        return EndsWith(blockId, "_leaves");
    if (key == "instrument")
        return blockId == "minecraft:note_block";
    if (key == "in_wall")
        return EndsWith(blockId, "_fence_gate");
    return false;
}

PropertyComparison CompareProperties(const ParsedState& a, const ParsedState& b) {
    std::set<std::string_view> keys;
    for (const auto& [key, value] : a.properties)
        keys.insert(key);
    for (const auto& [key, value] : b.properties)
        keys.insert(key);
    PropertyComparison comparison{0, true};
    for (const std::string_view key : keys) {
        if (IsDerivedProperty(a.id, key))
            continue;
        const auto valueIn = [&](const ParsedState& state) -> std::optional<std::string_view> {
            if (const auto found = state.properties.find(key); found != state.properties.end())
                return found->second;
            return DefaultProperty(state.id, key);
        };
        const std::optional<std::string_view> first = valueIn(a);
        const std::optional<std::string_view> second = valueIn(b);
        if (first && second && *first == *second)
            ++comparison.equal;
        else
            comparison.same = false;
    }
    return comparison;
}

}  // namespace stackmason
