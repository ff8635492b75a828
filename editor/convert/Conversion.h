#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/files/GameVersions.h"

namespace stackmason {

// One conversion of stackmason-convert: a building file or schematic read as the Load
// button reads it and written as the Save button writes it, the type of each chosen by its
// extension.
struct ConversionRequest {
    std::string input;
    std::string output;
    // An archive to read instead of the pack the input calls for; empty for that pack.
    std::string packPath;
    // Whether an existing output file may be replaced.
    bool replaceOutput = false;
    // Whether to list the input's materials as CSV instead of writing an output.
    bool listMaterials = false;
    // Whether to write the input's layer plans instead of converting: `output` is then the
    // booklet (PDF) or the folder of the layer pictures (PNG).
    enum class Plans { None, Booklet, Pictures };
    Plans plans = Plans::None;
    // Whether to print the input's layer-by-block table as CSV instead of writing an output.
    bool layerTable = false;
    // The game release, by data version, whose block names and data version the output and
    // the material list are written with.
    std::int64_t dataVersion = DefaultGameRelease().dataVersion;
};

// Nothing when the output was written; otherwise what failed and why, as one line
// "<file>: <reason>", and no output file was written (one that was there before is kept).
// What the editor would have told in an "Info" box after a save that succeeded (the cells a
// Sponge schematic leaves out) is added to `notes` as lines "<file>: <text>"; so is what it
// would have told after loading the input (the blocks an import approximated), a line each.
std::optional<std::string> ConvertBuildingFile(const ConversionRequest& request,
                                               std::vector<std::string>* notes = nullptr);

// Reads the input as the conversion does and gives its material list as CSV in `csv`, the
// file the material list window saves. Nothing on success; otherwise the failure line.
std::optional<std::string> ListMaterials(const ConversionRequest& request, std::string& csv,
                                         std::vector<std::string>* notes = nullptr);

// Reads the input as the conversion does and writes its layer booklet or layer pictures, as
// the editor's menu does, in TopView. The pictures' folder is made when missing. Nothing on
// success; otherwise the failure line, and an existing booklet or picture is not replaced
// unless `replaceOutput`. Needs a QGuiApplication.
std::optional<std::string> WriteLayerPlans(const ConversionRequest& request, std::vector<std::string>* notes = nullptr);

// Reads the input as the conversion does and gives its layer-by-block table as CSV in `csv`,
// the file the material list window's "Save layer table..." saves for a building shown from
// above. Nothing on success; otherwise the failure line.
std::optional<std::string> ListLayerTable(const ConversionRequest& request, std::string& csv,
                                          std::vector<std::string>* notes = nullptr);

}  // namespace stackmason
