#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stackmason {

// What a texture pack entry's name says about its block. Names look like
// "t.glass_020.png": an optional "t." prefix (drawn see-through in 3-D), the block's name,
// three digits of its Minecraft block id and ".png".

// The block id: the leading number of the last 7 characters of the name's last path
// component, after every ".png" was removed from them; 0 where there is none.
std::int32_t BlockIdFromEntryName(std::string_view entryName);

// The selector's text for an entry: the full name with every ".png" removed (case-sensitive).
std::string ItemTextFromEntryName(std::string_view entryName);

// Whether the entry's stored name starts with "t.", which marks an alpha-blended block.
bool IsBlendedEntryName(std::string_view entryName);

}  // namespace stackmason
