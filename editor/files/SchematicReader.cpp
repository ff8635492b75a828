#include "editor/files/SchematicReader.h"

#include <algorithm>

#include "editor/files/CompressedFileReader.h"
#include "editor/files/NbtInput.h"
#include "editor/files/SchematicTagReader.h"

namespace stackmason {
namespace {

// Besides two arrays of one byte per cell (134 MB for the largest building) and perhaps
// MCEdit's AddBlocks of half a byte per cell, real files carry entities, tile entities and
// other tools' extras; more than this cannot be a schematic of a building we can hold.
// Inflating it all takes a few tenths of a second, however small the compressed file.
constexpr std::uint64_t kMaxSchematicContentBytes = 256ull << 20;

SchematicStreamResult Refused(const std::string& path, const std::string& problem) {
    SchematicStreamResult result;
    result.problem = ImportRefusalText(path, "a schematic", problem);
    return result;
}

// Hands over the cells of an id array held whole, which lies in the building's own order:
// its rows, layer by layer.
void RowsOfIds(int width, int length, int height, const std::uint8_t* ids, const IdCodeTable& codes, CellRows& rows) {
    rows.Start(width, length, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width);
    for (int h = 1; h <= height; ++h)
        for (int y = 1; y <= length; ++y, ids += rowBytes)
            codes.Map(ids, rowBytes, rows.Row(y, h));
}

}  // namespace

SchematicReadResult ReadSchematicFile(const std::string& path, const ImportedCodes& codes) {
    BuildingRows rows;
    SchematicStreamResult read = StreamSchematicFile(path, codes, rows);
    if (!read.sizes)
        return {std::nullopt, std::move(read.problem)};
    return {std::move(rows.grid), {}};
}

SchematicStreamResult StreamSchematicFile(const std::string& path, const ImportedCodes& codes, CellRows& rows) {
    CompressedFileReader input(path, kMaxSchematicContentBytes);
    SchematicStreamResult result;
    if (input.GetProblem() == CompressedFileReader::Problem::CannotOpen) {
        result.problem = "Could not open file!";
        return result;
    }
    std::array<StoredCode, 256> storedCodes{};
    std::transform(codes.begin(), codes.end(), storedCodes.begin(),
                   [](BlockCode code) { return static_cast<StoredCode>(code); });
    const IdCodeTable table(storedCodes);
    SchematicTagReader reader(input, table, rows);
    if (!reader.ReadRoot())
        return Refused(path, reader.Problem());
    if (const std::string problem = EndProblem(input); !problem.empty())
        return Refused(path, problem);
    SchematicTags& tags = reader.Tags();
    if (const std::string problem = SizesProblem(tags.sizes); !problem.empty())
        return Refused(path, problem);
    if (!tags.blocksFound)
        return Refused(path, "it has no \"Blocks\" array");

    const int width = static_cast<int>(*tags.sizes.width);
    const int length = static_cast<int>(*tags.sizes.length);
    const int height = static_cast<int>(*tags.sizes.height);
    const std::uint64_t cellCount = std::uint64_t(width) * std::uint64_t(length) * std::uint64_t(height);
    if (tags.blockCount != cellCount)
        return Refused(path, "its \"Blocks\" array holds " + std::to_string(tags.blockCount) +
                                 " bytes instead of Width x Length x Height = " + std::to_string(cellCount));
    result.sizes = std::array{width, length, height};
    result.starts = tags.cellStarts;
    if (tags.cellsSizes) {
        // The cells were laid out by the sizes before Blocks; a later size tag may not change them.
        if (*tags.cellsSizes != *result.sizes)
            return Refused(path, "its sizes change after its \"Blocks\" array");
        return result;
    }
    RowsOfIds(width, length, height, tags.blocks.get(), table, rows);
    ++result.starts;
    return result;
}

}  // namespace stackmason
