#include "common/BlockNames.h"

#include "common/NumberParser.h"

namespace stackmason {
namespace {

constexpr std::string_view kPngSuffix = ".png";

std::string WithoutPngSuffixes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, kPngSuffix.size()) == kPngSuffix) {
            i += kPngSuffix.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

}  // namespace

std::int32_t BlockIdFromEntryName(std::string_view entryName) {
    const std::size_t slash = entryName.find_last_of("/\\");
    std::string_view baseName = slash == std::string_view::npos ? entryName : entryName.substr(slash + 1);
    if (baseName.size() > 7)
        baseName = baseName.substr(baseName.size() - 7);
    return ParseNumber(WithoutPngSuffixes(baseName));
}

std::string ItemTextFromEntryName(std::string_view entryName) { return WithoutPngSuffixes(entryName); }

bool IsBlendedEntryName(std::string_view entryName) { return entryName.starts_with("t."); }

}  // namespace stackmason
