#pragma once

#include <span>
#include <string>
#include <variant>

#include "editor/convert/Conversion.h"

namespace stackmason {

inline constexpr const char* kConvertProgramName = "stackmason-convert";

struct HelpRequested {};
// Arguments the program cannot run with, as "<argument>: <reason>".
struct UsageError {
    std::string text;
};

using CommandLine = std::variant<ConversionRequest, HelpRequested, UsageError>;

// Reads "[--force] [--pack FILE] [--game-version X.Y[.Z]] IN OUT", "--materials IN",
// "--layer-table IN" or "--help"; options may stand anywhere, and "--" ends them so that a
// file name may start with "-".
CommandLine ParseCommandLine(std::span<const std::string> arguments);

// What --help prints.
std::string HelpText();

}  // namespace stackmason
