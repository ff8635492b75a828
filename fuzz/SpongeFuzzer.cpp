// The Sponge schematic load, as the Load button runs it, on a file of the input's bytes and on
// the same bytes gzip-compressed; each once with a pack the user gave, as the converter's
// --pack gives one, and once with the packs of the current folder: a small "gameblocks.zip"
// and a "mine.zip" that a file may name in its metadata. A refused file must leave everything
// as it was with one "Error" message; a loaded one must give a grid of the sizes the file
// states, with a pack it may be read with in place, and an "Info" box at most, which may
// only name states that have cells, and say truly what those cells became.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/BlockStates.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SpongeReader.h"
#include "editor/files/StateImport.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/StateFileFuzzing.h"
#include "tests/support/TestImages.h"

namespace {

using namespace stackmason;
using fuzz::Require;
using namespace stackmason::fuzz;

// The file read again with every state a number of its own, and the cells of each state.
struct StatesOfCells {
    std::optional<Building> grid;
    std::vector<std::string> states;
    std::vector<std::uint64_t> cells;
    // More distinct states than numbers below zero that a cell can hold.
    bool tooMany = false;

    // The state number a cell of the grid holds.
    std::size_t At(int x, int y, int h) const { return static_cast<std::size_t>(-1 - grid->At(x, y, h)); }
};

// Negative numbers keep the reader off its table of one-byte pairs, so that this read takes
// each varint on its own, apart from the fast way the load takes.
StatesOfCells ReadStatesOfCells(const std::string& path) {
    StatesOfCells read;
    std::map<std::string, BlockCode> numbers;
    const SpongeReadResult again = ReadSpongeFile(path, [&](const std::string& state) {
        const auto [at, added] = numbers.emplace(state, -1 - static_cast<BlockCode>(read.states.size()));
        if (added) {
            read.states.push_back(state);
            read.tooMany = read.tooMany || read.states.size() > 0x7FFF;
        }
        return at->second;
    });
    read.grid = again.grid;
    if (!read.grid || read.tooMany)
        return read;
    read.cells.assign(read.states.size(), 0);
    for (int h = 1; h <= read.grid->Height(); ++h)
        for (int y = 1; y <= read.grid->Length(); ++y)
            for (int x = 1; x <= read.grid->Width(); ++x) {
                const std::size_t state = read.At(x, y, h);
                Require(state < read.states.size(), "a cell read again holds a state of the palette");
                ++read.cells[state];
            }
    return read;
}

struct ReportLine {
    std::uint64_t cells = 0;
    std::string state;
    std::string entry;
};

struct ParsedReport {
    std::vector<ReportLine> lines;
    // The closing line on the states left out of the lines.
    std::uint64_t restStates = 0;
    std::uint64_t restCells = 0;
};

// Reads "<n> cell(s)" or "<n> block state(s)" at `at`, moving it on.
std::optional<std::uint64_t> CountAt(std::string_view text, std::size_t& at, std::string_view one, std::string_view many) {
    std::size_t end = at;
    while (end < text.size() && end - at < 12 && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end == at)
        return std::nullopt;
    const std::uint64_t count = std::stoull(std::string(text.substr(at, end - at)));
    const std::string_view unit = count == 1 ? one : many;
    if (text.substr(end, 1 + unit.size()) != " " + std::string(unit))
        return std::nullopt;
    at = end + 1 + unit.size();
    return count;
}

// The lines of the report's text after its first line, each "\n<n> cells of <state> became
// <entry>" of a state the file has and an entry of the pack, and perhaps a last line for the
// rest. States are the file's own text, which may hold line breaks and " became ", so every
// way of reading a line is tried.
class ReportParser {
public:
    ReportParser(std::string_view body, const std::vector<std::string>& states, std::vector<std::string> entries)
        : body_(body), states_(states), entries_(std::move(entries)) {}

    std::optional<ParsedReport> Parse() {
        if (!From(0))
            return std::nullopt;
        return report_;
    }

private:
    bool From(std::size_t at) {
        if (at == body_.size())
            return true;
        if (body_[at] != '\n' || ++tries_ > 100000)
            return false;
        ++at;
        if (Rest(at))
            return true;
        std::size_t after = at;
        const std::optional<std::uint64_t> cells = CountAt(body_, after, "cell of ", "cells of ");
        if (!cells)
            return false;
        for (const std::string& state : states_) {
            const std::string_view tail = body_.substr(after);
            if (!tail.starts_with(state) || !tail.substr(state.size()).starts_with(" became "))
                continue;
            const std::size_t entryAt = after + state.size() + 8;
            for (const std::string& entry : entries_) {
                const std::size_t end = entryAt + entry.size();
                if (!body_.substr(entryAt).starts_with(entry) || (end != body_.size() && body_[end] != '\n'))
                    continue;
                report_.lines.push_back({*cells, state, entry});
                if (From(end))
                    return true;
                report_.lines.pop_back();
            }
        }
        return false;
    }
    bool Rest(std::size_t at) {
        if (!body_.substr(at).starts_with("and "))
            return false;
        at += 4;
        const std::optional<std::uint64_t> states = CountAt(body_, at, "more block state in ", "more block states in ");
        if (!states)
            return false;
        const std::optional<std::uint64_t> cells = CountAt(body_, at, "cell", "cells");
        if (!cells || at != body_.size())
            return false;
        report_.restStates = *states;
        report_.restCells = *cells;
        return true;
    }

    std::string_view body_;
    const std::vector<std::string>& states_;
    std::vector<std::string> entries_;
    ParsedReport report_;
    int tries_ = 0;
};

// What the report calls the block of a code: its entry's item text, air for code 0.
std::string EntryName(const Editor& editor, BlockCode code) {
    return code > 0 && code < editor.selector.Count() ? editor.selector.ItemAt(code).text : "air";
}

// Each state's cells hold one code, and the report says of each state it names as many cells
// as the file has of it, and the entry they all became; most cells first.
void CheckCellsAndReport(const Editor& editor, const std::string& path, const std::vector<std::string>& infos) {
    const StatesOfCells read = ReadStatesOfCells(path);
    Require(read.grid.has_value(), "the file reads again");
    const Building& states = *read.grid;
    Require(states.Width() == editor.grid.Width() && states.Length() == editor.grid.Length() &&
                states.Height() == editor.grid.Height(),
            "the sizes read again");
    if (read.tooMany)
        return;
    std::vector<std::optional<BlockCode>> codeOfState(read.states.size());
    for (int h = 1; h <= states.Height(); ++h)
        for (int y = 1; y <= states.Length(); ++y)
            for (int x = 1; x <= states.Width(); ++x) {
                std::optional<BlockCode>& code = codeOfState[read.At(x, y, h)];
                if (!code)
                    code = editor.grid.At(x, y, h);
                Require(*code == editor.grid.At(x, y, h), "every cell of a state holds the same code");
            }
    if (infos.empty())
        return;

    const std::string& text = infos.front();
    const std::size_t firstBreak = text.find('\n');
    Require(firstBreak != std::string::npos, "the report lists states");
    std::vector<std::string> entries{"air"};
    for (BlockCode code = 1; code < editor.selector.Count(); ++code)
        entries.push_back(editor.selector.ItemAt(code).text);
    const std::optional<ParsedReport> report =
        ReportParser(std::string_view(text).substr(firstBreak), read.states, entries).Parse();
    Require(report.has_value(), "each line of the report names a state of the file and an entry of the pack");
    Require(!report->lines.empty() && report->lines.size() <= kReportLinesInBox, "the report lists a few states");

    std::map<std::string, std::uint64_t> listedCells;
    std::uint64_t total = 0;
    for (std::size_t line = 0; line < report->lines.size(); ++line) {
        const ReportLine& listed = report->lines[line];
        Require(listed.cells > 0, "a listed state has cells");
        Require(line == 0 || report->lines[line - 1].cells >= listed.cells, "most cells first");
        const auto state = static_cast<std::size_t>(
            std::find(read.states.begin(), read.states.end(), listed.state) - read.states.begin());
        Require(read.cells[state] > 0, "a listed state has cells in the file");
        Require(EntryName(editor, *codeOfState[state]) == listed.entry, "a listed state's cells hold what it became");
        listedCells[listed.state] += listed.cells;
        total += listed.cells;
    }
    const bool rest = report->restStates > 0 || report->restCells > 0;
    if (rest)
        Require(report->lines.size() == kReportLinesInBox && report->restStates > 0 &&
                    report->restCells >= report->restStates,
                "the rest are states with cells, beyond the lines of the box");
    for (const auto& [state, cells] : listedCells) {
        const auto index =
            static_cast<std::size_t>(std::find(read.states.begin(), read.states.end(), state) - read.states.begin());
        // A state written twice in the palette may have a line of each.
        Require(rest ? cells <= read.cells[index] : cells == read.cells[index], "a listed state's cells are counted");
    }
    Require(total + report->restCells <= CellsOf(states), "the report counts no more cells than the building has");
}

// Loads the file at path with the pack given, if any, and checks what the editor is left with.
Outcome ImportAndCheck(const std::string& path, std::span<const std::uint8_t> bytes, const std::string& packPath) {
    ImportEditor fixture;
    Editor& editor = fixture.editor;
    const Building before = editor.grid;
    const std::string packBefore = editor.texturePackName;
    const int itemsBefore = editor.selector.Count();
    const std::array spinsBefore{editor.widthSpin.Value(), editor.lengthSpin.Value(), editor.heightSpin.Value()};
    editor.history.EndStep(editor);
    const std::size_t stepsBefore = editor.history.UndoCount();
    // As the Load button runs it, inside the action's error boundary.
    RunUserAction(editor, "load", [&] { LoadBuildingFile(editor, FileChoice{path, kSpongeFilter}, packPath); });
    editor.history.EndStep(editor);
    Outcome outcome = OutcomeOf(editor, fixture.dialogs);
    if (!outcome.loaded) {
        Require(fixture.dialogs.errors.size() == 1 && fixture.dialogs.infos.empty(), "a refusal shows one message");
        Require(editor.grid == before && editor.grid.Width() == 3 && editor.grid.Length() == 2 && editor.grid.Height() == 2,
                "a refusal keeps the building");
        Require(std::array{editor.widthSpin.Value(), editor.lengthSpin.Value(), editor.heightSpin.Value()} == spinsBefore,
                "a refusal keeps the size fields");
        Require(editor.texturePackName == packBefore && editor.selector.Count() == itemsBefore &&
                    editor.history.UndoCount() == stepsBefore,
                "a refusal keeps the pack and history");
        return outcome;
    }
    Require(editor.history.UndoCount() == stepsBefore + 1, "a load is one step of the history");
    Require(editor.grid.Width() >= 1 && editor.grid.Width() <= 512 && editor.grid.Length() >= 1 && editor.grid.Length() <= 512 &&
                editor.grid.Height() >= 1 && editor.grid.Height() <= 256,
            "sizes inside the limits");
    Require(editor.frontPlane.HasExtents(editor.grid.Length(), editor.grid.Height()), "working plane extents");
    Require(fixture.dialogs.infos.size() <= 1, "one report at most");

    // A file the walk cannot follow (lists of ends, say) is checked by the rest alone.
    const std::optional<std::vector<std::uint8_t>> plain = fuzz::PlainBytes(bytes);
    const std::optional<fuzz::StatedTags> stated =
        plain ? fuzz::StatedTags::Of(*plain, "Schematic", kPackNameTag) : std::nullopt;
    if (stated && stated->sizes)
        Require((*stated->sizes)[0] == editor.grid.Width() && (*stated->sizes)[1] == editor.grid.Length() &&
                    (*stated->sizes)[2] == editor.grid.Height(),
                "grid extents are the sizes the file states");

    // The pack given; otherwise the folder's pack of the game's blocks, or the folder's pack
    // the file names by its bare name, never one it names by a path.
    if (!packPath.empty())
        Require(editor.texturePackName == kGivenPackName, "the pack given is in place");
    else
        Require(editor.texturePackName == kGameBlocksPackName || editor.texturePackName == kOwnPackName,
                "the pack in place is one of the folder's");
    Require(editor.selector.Count() == ItemsOfPack(editor.texturePackName), "the whole pack is in place");
    if (editor.texturePackName == kOwnPackName && stated)
        Require(std::find(stated->packNames.begin(), stated->packNames.end(), kOwnPackName) != stated->packNames.end(),
                "a pack of the folder other than the game's blocks is one the file names");

    // Air, an entry with a block state, or the one for unknown blocks, by code.
    std::vector<bool> mayHold{true};
    for (BlockCode code = 1; code < editor.selector.Count(); ++code) {
        const std::string& text = editor.selector.ItemAt(code).text;
        mayHold.push_back(BlockStateOfEntry(text, editor.selector.Data(code)).has_value() ||
                          BlockNameOfEntry(text) == kUnknownBlockName);
    }
    for (const int h : CheckedLayers(editor.grid))
        for (int y = 1; y <= editor.grid.Length(); ++y)
            for (int x = 1; x <= editor.grid.Width(); ++x) {
                const BlockCode code = editor.grid.At(x, y, h);
                Require(code >= 0 && code < editor.selector.Count() && mayHold[static_cast<std::size_t>(code)],
                        "cells hold air, a block of the pack or its entry for unknown blocks");
            }
    if (CellsOf(editor.grid) <= kCellsCheckedWhole)
        CheckCellsAndReport(editor, path, fixture.dialogs.infos);
    return outcome;
}

// The same file with a pack given and without: refused by both or by neither. Where both
// packs have an entry for unknown blocks, only the file's airs are air in either.
Outcome ImportBothWays(const std::string& path, std::span<const std::uint8_t> bytes) {
    const Outcome given = ImportAndCheck(path, bytes, fuzz::ScratchFolder() + "/" + kGivenPackPath);
    const Outcome folder = ImportAndCheck(path, bytes, {});
    Require(given.loaded == folder.loaded, "a pack given changes nothing on a refusal");
    if (given.loaded) {
        Require(given.sizes == folder.sizes, "a pack given changes no size");
        if (folder.packName == kGameBlocksPackName)
            Require(given.air == folder.air, "the same cells are air");
    }
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PreparePacks();
    const InScratchFolder inScratch;
    const std::span<const std::uint8_t> bytes(data, size);
    const Outcome plain = ImportBothWays(fuzz::WriteScratchFile("plain.schem", bytes), bytes);
    // A plain NBT file and its gzip form hold the same content.
    if (size > 0 && data[0] == 0x0A) {
        const std::vector<std::uint8_t> gzipped = fuzz::Gzip(bytes);
        const Outcome packed = ImportBothWays(fuzz::WriteScratchFile("packed.schem", gzipped), gzipped);
        fuzz::Require(plain.loaded == packed.loaded, "gzip changes nothing");
        if (plain.loaded)
            fuzz::Require(plain.sizes == packed.sizes && plain.cellsHash == packed.cellsHash &&
                              plain.packName == packed.packName && plain.infos == packed.infos,
                          "gzip gives the same building");
    }
    return 0;
}
