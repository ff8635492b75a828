#pragma once

#include <optional>
#include <string>

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
};

// Nothing when the output was written; otherwise what failed and why, as one line
// "<file>: <reason>", and no output file was written (one that was there before is kept).
std::optional<std::string> ConvertBuildingFile(const ConversionRequest& request);

}  // namespace stackmason
