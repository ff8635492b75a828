#include "editor/files/SchematicReader.h"

#include <filesystem>

#include "common/Constants.h"
#include "editor/files/CompressedFileReader.h"
#include "editor/files/SchematicTagReader.h"

namespace stackmason {
namespace {

// Besides two arrays of one byte per cell (134 MB for the largest building) and perhaps
// MCEdit's AddBlocks of half a byte per cell, real files carry entities, tile entities and
// other tools' extras; more than this cannot be a schematic of a building we can hold.
// Inflating it all takes a few tenths of a second, however small the compressed file.
constexpr std::uint64_t kMaxSchematicContentBytes = 256ull << 20;

SchematicReadResult Refused(const std::string& path, const std::string& problem) {
    SchematicReadResult result;
    result.problem = "Could not import " + std::filesystem::path(path).filename().string() +
                     " as a schematic: " + problem + ". Nothing was changed.";
    return result;
}

// An empty text when the size is there and fits; otherwise the problem.
std::string CheckSize(const std::optional<std::int64_t>& size, const char* name, int maximum) {
    if (!size)
        return std::string("it has no \"") + name + "\" tag";
    if (*size < 1 || *size > maximum)
        return std::string("its \"") + name + "\" of " + std::to_string(*size) + " lies outside 1 to " +
               std::to_string(maximum);
    return {};
}

}  // namespace

SchematicReadResult ReadSchematicFile(const std::string& path) {
    CompressedFileReader input(path, kMaxSchematicContentBytes);
    if (input.GetProblem() == CompressedFileReader::Problem::CannotOpen)
        return {std::nullopt, "Could not open file!"};
    SchematicTagReader reader(input);
    if (!reader.ReadRoot())
        return Refused(path, reader.Problem());
    if (!input.ReachEndIntact())
        return Refused(path, input.GetProblem() == CompressedFileReader::Problem::TooLarge
                                 ? "it holds far more data than a schematic of the largest building"
                                 : "its compressed data is cut short or damaged");
    SchematicTags& tags = reader.Tags();
    for (const std::string& problem : {CheckSize(tags.width, "Width", kMaxGridWidth),
                                       CheckSize(tags.length, "Length", kMaxGridLength),
                                       CheckSize(tags.height, "Height", kMaxGridHeight)})
        if (!problem.empty())
            return Refused(path, problem);
    if (!tags.blocksFound)
        return Refused(path, "it has no \"Blocks\" array");

    Schematic schematic;
    schematic.width = static_cast<int>(*tags.width);
    schematic.length = static_cast<int>(*tags.length);
    schematic.height = static_cast<int>(*tags.height);
    if (tags.blockCount != schematic.CellCount())
        return Refused(path, "its \"Blocks\" array holds " + std::to_string(tags.blockCount) +
                                 " bytes instead of Width x Length x Height = " +
                                 std::to_string(schematic.CellCount()));
    schematic.blocks = std::move(tags.blocks);
    return {std::move(schematic), {}};
}

}  // namespace stackmason
