#include "editor/convert/CommandLine.h"

#include <optional>
#include <span>
#include <vector>

#include "editor/files/GameVersions.h"

namespace stackmason {
namespace {

UsageError Usage(const std::string& what, const std::string& why) {
    return UsageError{what + ": " + why + " (" + kConvertProgramName + " --help explains the use)"};
}

// "1.13, 1.13.1, ..." : every release the names are known for, oldest first.
std::string KnownReleases() {
    std::string list;
    for (const GameRelease& release : GameReleases()) {
        if (!list.empty())
            list += ", ";
        list += release.name;
    }
    return list;
}

// "1.13 to 26.1.2": the oldest and the newest release the names are known for.
std::string ReleaseRange() {
    const std::span<const GameRelease> releases = GameReleases();
    return std::string(releases.front().name) + " to " + std::string(releases.back().name);
}

// Takes the release named; the usage error when the table has no release of that name.
std::optional<UsageError> TakeGameVersion(const std::string& name, ConversionRequest& request) {
    if (name.empty())
        return Usage("--game-version", "names no game version");
    const GameRelease* release = FindGameRelease(name);
    if (!release)
        return Usage("--game-version " + name, "unknown game version; the known ones are " + KnownReleases());
    request.dataVersion = release->dataVersion;
    return std::nullopt;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
    ConversionRequest request;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return HelpRequested{};
        } else if (argument == "--materials") {
            request.listMaterials = true;
        } else if (argument == "--plans" || argument == "--plan-pictures") {
            if (request.plans != ConversionRequest::Plans::None)
                return Usage(argument, "only one of --plans and --plan-pictures may be given");
            if (index + 1 == arguments.size() || arguments[index + 1].empty())
                return Usage(argument, argument == "--plans" ? "names no PDF file" : "names no folder");
            request.plans =
                argument == "--plans" ? ConversionRequest::Plans::Booklet : ConversionRequest::Plans::Pictures;
            request.output = arguments[++index];
        } else if (argument == "--layer-table") {
            request.layerTable = true;
        } else if (argument == "--force" || argument == "-f") {
            request.replaceOutput = true;
        } else if (argument == "--pack") {
            if (index + 1 == arguments.size() || arguments[index + 1].empty())
                return Usage(argument, "names no pack file");
            request.packPath = arguments[++index];
        } else if (argument.starts_with("--pack=")) {
            request.packPath = argument.substr(7);
            if (request.packPath.empty())
                return Usage("--pack", "names no pack file");
        } else if (argument == "--game-version") {
            if (index + 1 == arguments.size())
                return Usage(argument, "names no game version");
            if (std::optional<UsageError> error = TakeGameVersion(arguments[++index], request))
                return *error;
        } else if (argument.starts_with("--game-version=")) {
            if (std::optional<UsageError> error = TakeGameVersion(argument.substr(15), request))
                return *error;
        } else {
            return Usage(argument, "unknown option");
        }
    }
    if (request.plans != ConversionRequest::Plans::None) {
        if (request.listMaterials || request.layerTable)
            return Usage(request.listMaterials ? "--materials" : "--layer-table",
                         "cannot be given with --plans or --plan-pictures");
        if (files.size() != 1)
            return Usage("arguments", std::string(request.plans == ConversionRequest::Plans::Booklet ? "--plans" : "--plan-pictures") +
                                          " takes the one file IN, got " + std::to_string(files.size()));
        request.input = files[0];
        return request;
    }
    if (request.listMaterials && request.layerTable)
        return Usage("--materials and --layer-table", "print one list at a time");
    if (request.listMaterials || request.layerTable) {
        const std::string option = request.listMaterials ? "--materials" : "--layer-table";
        if (files.size() != 1)
            return Usage("arguments", option + " takes the one file IN, got " + std::to_string(files.size()));
        request.input = files[0];
        return request;
    }
    if (files.size() != 2)
        return Usage("arguments", "expected the two files IN and OUT, got " + std::to_string(files.size()));
    request.input = files[0];
    request.output = files[1];
    return request;
}

std::string HelpText() {
    return R"(Usage: stackmason-convert [--force] [--pack FILE] [--game-version X.Y[.Z]] IN OUT
       stackmason-convert [--pack FILE] [--game-version X.Y[.Z]] --materials IN
       stackmason-convert [--pack FILE] [--game-version X.Y[.Z]] --layer-table IN
       stackmason-convert [--force] [--pack FILE] --plans OUT.pdf IN
       stackmason-convert [--force] [--pack FILE] --plan-pictures DIR IN
       stackmason-convert --help

Converts a Stackmason building between the building text format (.txt), an
MCEdit schematic (.schematic), a Sponge schematic (.schem), the format of
today's Minecraft paste tools, and a Litematica schematic (.litematic). The type
of IN and of OUT is chosen by the extension of its name, exactly ".txt",
".schematic", ".schem" or ".litematic"; IN and OUT may also have the same type.
The file is read as the editor's Load button reads it and written as its Save
button writes it, byte for byte (a .schem or .litematic written carries the
time of writing).

Texture packs are used as in the editor and looked up in the current folder: a
text file is read with the pack its header names, a .schematic with
"minecraft.zip", a .schem or .litematic with the pack it names when it was
written by Stackmason and that pack has all its blocks, otherwise with
"gameblocks.zip". The pack gives the block ids of a .schematic and the block
states of a .schem or .litematic, both ways, and a text file written names it
in its header. A block the pack lacks becomes the nearest block of its kind, or
the pack's "unknown".

Options:
  --pack FILE   read and write with the texture pack FILE (any folder) instead;
                a text file written then names its file name in the header
  --materials   print the material list of IN as CSV (name, block state,
                count) on standard output instead of converting
  --layer-table print the layer-by-block table of IN as CSV on standard output
                instead of converting: a row per block type, the most used
                first, with its block state, its count on each layer from
                layer 1 up ("Layer 1", "Layer 2", ...) and its total
  --plans OUT.pdf
                write the layer booklet of IN to OUT.pdf instead of converting:
                a cover with the material list, then a page per layer that
                holds a block (layer 1 first), with a numbered grid and a
                legend, as the editor's "Layer plans..." writes it
  --plan-pictures DIR
                write the same pages as PNG pictures into the folder DIR (made
                when missing), named layer-001.png, layer-001-tile-2.png, ...
  --game-version X.Y[.Z]
                write for this release of Minecraft, )" + ReleaseRange() + R"( (a name
                not known is refused with the list of every one): a .schem or
                .litematic written carries its block names and data version,
                and --materials and --layer-table name blocks as it does.
                The default is 1.20.1: every later release reads its names as
                they stand and upgrades its files, while a file of a newer
                data version would not load in an older game
  --force, -f   replace OUT (or the pictures in DIR) if it exists; without it
                an existing OUT is refused and left as it is
  --help, -h    show this text
  --            end of the options, for file names that start with "-"

On success nothing is printed and the exit status is 0, except that a .schem
written with cells whose blocks have no block state (written as air) says how
many on standard error, one line "stackmason-convert: OUT: ...", and a .schem
read whose blocks did not all come in as they are lists each that was
approximated or unknown, a line "stackmason-convert: IN: ..." each. On failure one line
"stackmason-convert: FILE: REASON" goes to standard error, the exit status is 1
(2 for wrong arguments), and no output file is written: OUT is written under a
temporary name and renamed only once it is complete, so a file of that name that
was there before stays as it was. A conversion fails when IN cannot be read, is
damaged or its header gives no building size, when the pack it needs (for a
schematic on either side, or named with --pack) cannot be opened, or when the
building cannot be stored in OUT's format.
)";
}

}  // namespace stackmason
