#include "common/BlockStates.h"

#include <algorithm>

namespace stackmason {
namespace {

constexpr std::string_view kNamespace = "minecraft:";

}  // namespace

std::string BlockNameOfEntry(std::string_view itemText) {
    const std::size_t slash = itemText.find_last_of("/\\");
    if (slash != std::string_view::npos)
        itemText.remove_prefix(slash + 1);
    if (itemText.starts_with("t."))
        itemText.remove_prefix(2);
    if (itemText.ends_with(".png"))
        itemText.remove_suffix(4);
    while (!itemText.empty() && itemText.back() >= '0' && itemText.back() <= '9')
        itemText.remove_suffix(1);
    if (itemText.ends_with("_"))
        itemText.remove_suffix(1);
    return std::string(itemText);
}

std::optional<std::string_view> BlockStateOfEntry(std::string_view itemText, std::int32_t blockId) {
    const std::span<const BlockStateRow> rows = BlockStateTable();
    const std::string name = BlockNameOfEntry(itemText);
    const auto byName = std::find_if(rows.begin(), rows.end(), [&](const BlockStateRow& row) { return row.name == name; });
    if (byName != rows.end())
        return byName->state;
    const auto byId = std::find_if(rows.begin(), rows.end(), [&](const BlockStateRow& row) {
        return row.legacyId == blockId && row.legacyData == 0;
    });
    if (byId != rows.end())
        return byId->state;
    return std::nullopt;
}

std::string BlockIdOfState(std::string_view state) {
    const std::size_t bracket = state.find('[');
    std::string_view id = state.substr(0, bracket);
    while (!id.empty() && id.back() == ' ')
        id.remove_suffix(1);
    if (id.find(':') == std::string_view::npos)
        return std::string(kNamespace) + std::string(id);
    return std::string(id);
}

bool IsAirBlockId(std::string_view blockId) {
    return blockId == "minecraft:air" || blockId == "minecraft:cave_air" || blockId == "minecraft:void_air";
}

}  // namespace stackmason
