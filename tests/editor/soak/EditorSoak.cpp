#include "tests/editor/soak/EditorSoak.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "common/Constants.h"
#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/commands/LayerCommands.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"
#include "editor/shell/CommandTable.h"
#include "editor/shell/DispatchCommand.h"

namespace stackmason::testing {
namespace {

constexpr std::size_t kRecentActions = 12;

// Every command of the table and an id it does not know. Undo and redo are left to the undo
// property (SoakTest.cpp), which counts the steps each action adds against its own timeline.
std::vector<int> CommandIdsToTry() {
    std::vector<int> ids;
    for (const Command& command : Commands())
        if (command.id != kUndo && command.id != kRedo)
            ids.push_back(command.id);
    ids.push_back(99);
    return ids;
}

// The building proper, x 1..X, y 1..Y, h 1..H: what a building file keeps.
std::vector<BlockCode> BuildingCells(const Editor& editor) {
    std::vector<BlockCode> cells;
    for (int h = 1; h <= editor.grid.Height(); ++h)
        for (int y = 1; y <= editor.grid.Length(); ++y)
            for (int x = 1; x <= editor.grid.Width(); ++x)
                cells.push_back(editor.grid.At(x, y, h));
    return cells;
}

// A file's bytes; empty when there is none.
std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Sizes(const Editor& editor) {
    return std::to_string(editor.grid.Width()) + "x" + std::to_string(editor.grid.Length()) + "x" +
           std::to_string(editor.grid.Height());
}

}  // namespace

EditorSoak::EditorSoak(std::uint32_t seed, const std::filesystem::path& folder)
    : editor_(fixture_.editor), seed_(seed), folder_(folder), random_(seed) {
    editor_.random.seed(seed);
    // Start-up: the default pack from the current directory, then the first building.
    LoadTexturePack(editor_);
    NewBuilding(editor_);
}

std::string EditorSoak::PathFor(const std::string& name) const { return (folder_ / name).string(); }

void EditorSoak::Note(std::string action) {
    // Appended: GCC 12 reports a false -Wrestrict for `"#" + std::string` at -O3.
    std::string line = "#";
    line += std::to_string(actionNumber_);
    line += ' ';
    line += action;
    recent_.push_back(std::move(line));
    if (recent_.size() > kRecentActions)
        recent_.pop_front();
}

bool EditorSoak::Fail(const std::string& what) {
    std::ostringstream text;
    text << "soak seed " << seed_ << ", action " << actionNumber_ << ": " << what << "\nbuilding "
         << Sizes(editor_) << ", " << (editor_.InTopView() ? "TopView" : "FrontView") << ", layer "
         << editor_.CurrentLayer() << "\nlast actions:\n";
    for (const std::string& action : recent_)
        text << "  " << action << "\n";
    text << "rerun with STACKMASON_SOAK_SEED=" << seed_;
    failure_ = text.str();
    return false;
}

bool EditorSoak::Check() {
    const Editor& e = editor_;
    if (e.grid.CellCount() != static_cast<std::size_t>(e.grid.Width() + 1) * (e.grid.Length() + 1) * (e.grid.Height() + 1))
        return Fail("grid cell count");
    if (e.grid.Width() < 1 || e.grid.Width() > 512 || e.grid.Length() < 1 || e.grid.Length() > 512 || e.grid.Height() < 1 ||
        e.grid.Height() > 256)
        return Fail("sizes outside the limits of a building");
    const int top = e.InTopView() ? e.grid.Height() : e.grid.Width();
    if (e.CurrentLayer() < 1 || e.CurrentLayer() > top)
        return Fail("current layer " + std::to_string(e.CurrentLayer()) + " outside 1.." + std::to_string(top));
    if (e.layerSpin.Maximum() != top)
        return Fail("layer field's range ends at " + std::to_string(e.layerSpin.Maximum()));
    if (!e.InTopView() && !e.frontPlane.HasExtents(e.grid.Length(), e.grid.Height()))
        return Fail("working plane extents differ from the sizes in FrontView");
    if (e.canvasWidth != CanvasWidthFor(e) || e.canvasHeight != CanvasHeightFor(e))
        return Fail("canvas of " + std::to_string(e.canvasWidth) + "x" + std::to_string(e.canvasHeight) +
                    " does not fit the view");
    if (e.selector.Selected() < 0 || e.selector.Selected() >= e.selector.Count())
        return Fail("no block selected");
    for (int i = 0; i < e.selector.Count(); ++i)
        if (e.selector.ItemAt(i).image.Width() != kTileSize || e.selector.ItemAt(i).image.Height() != kTileSize)
            return Fail("block picture " + std::to_string(i) + " is not a tile");
    return true;
}

bool EditorSoak::Run(int actions) {
    if (!Check())
        return false;
    for (int action = 1; action <= actions; ++action)
        if (!Step())
            return false;
    return true;
}

bool EditorSoak::Step() {
    ++actionNumber_;
    Act();
    return failure_.empty() && Check();
}

// Each action ends with the repaint it asked for, as the shell carries it out.
void EditorSoak::Act() {
    ActOnce();
    ShowRequestedRepaint(editor_);
}

void EditorSoak::ActOnce() {
    const int pick = Uniform(1, 100);
    if (pick <= 40)
        Stroke();
    else if (pick <= 70)
        Command();
    else if (pick <= 84)
        ChangeLayer();
    else if (pick <= 89) {
        editor_.selector.Select(Uniform(-1, editor_.selector.Count()));
        Note("select block " + std::to_string(editor_.SelectedBlock()));
    } else if (pick <= 93)
        MakeNewBuilding();
    else if (pick <= 97)
        SaveAndLoadText();
    else if (pick <= 98)
        SaveAndLoadSchematic();
    else
        LoadDamagedFile();
}

// A press, a few moves with the button held, then a release; anywhere on the canvas and now
// and then outside it, with any modifiers.
void EditorSoak::Stroke() {
    using Kind = CanvasEvent::Kind;
    CanvasEvent event;
    const bool left = Chance(60);
    event.kind = left ? Kind::LeftPress : Kind::RightPress;
    event.left = left;
    event.right = !left;
    event.shift = Chance(10);
    event.alt = Chance(10);
    event.ctrl = Chance(8);
    auto place = [&] {
        event.x = Uniform(-80, editor_.canvasWidth + 80);
        event.y = Uniform(-80, editor_.canvasHeight + 80);
    };
    place();
    Note(std::string(left ? "left" : "right") + " stroke from " + std::to_string(event.x) + "," +
         std::to_string(event.y) + (event.shift ? " shift" : "") + (event.alt ? " alt" : "") +
         (event.ctrl ? " ctrl" : ""));
    HandleCanvasEvent(editor_, event);
    for (int moves = Uniform(0, 6); moves > 0 && Check(); --moves) {
        event.kind = Kind::Move;
        place();
        HandleCanvasEvent(editor_, event);
    }
    event.kind = Kind::Other;
    event.left = event.right = false;
    HandleCanvasEvent(editor_, event);
}

void EditorSoak::Command() {
    FakeDialogs& dialogs = fixture_.dialogs;
    if (Chance(8)) {
        Note("Ctrl+D");
        DuplicateLayer(editor_);
        return;
    }
    static const std::vector<int> ids = CommandIdsToTry();
    const int id = ids[static_cast<std::size_t>(Uniform(0, static_cast<int>(ids.size()) - 1))];
    if (id == kSelectTexturePack) {
        dialogs.answerYes = Chance(80);
        const char* packs[] = {"stackmason.zip", "minecraft.zip", "missing.zip"};
        dialogs.answers.push_back(
            Chance(85) ? std::optional<FileChoice>(FileChoice{PathFor(packs[Uniform(0, 2)]), 0}) : std::nullopt);
    }
    if (id == kOrbitscope)
        dialogs.runSucceeds = Chance(50);
    Note("command " + std::to_string(id));
    DispatchCommand(editor_, id);
    dialogs.answers.clear();
}

// The layer field as the user changes it: arrows, typing, or a value set by the program;
// each followed by the repaint the shell does.
void EditorSoak::ChangeLayer() {
    SpinModel& spin = editor_.layerSpin;
    switch (Uniform(0, 2)) {
    case 0:
        spin.Step(Chance(50) ? 1 : -1);
        break;
    case 1: {
        const char* junk[] = {"", "-3", "abc", "9999", " 2", "0"};
        spin.SetText(Chance(60) ? std::to_string(Uniform(-2, spin.Maximum() + 2)) : junk[Uniform(0, 5)]);
        break;
    }
    default:
        spin.SetValue(Uniform(-5, spin.Maximum() + 5));
        break;
    }
    Note("layer field to " + std::to_string(spin.Value()));
    editor_.painter.RedrawCanvas();
}

void EditorSoak::MakeNewBuilding() {
    auto size = [&](SpinModel& spin, int largest) {
        if (Chance(85))
            spin.SetValue(Uniform(1, largest));
        else if (Chance(50))
            spin.SetText(std::to_string(Uniform(-3, 600)));
        else
            spin.SetValue(Uniform(-3, 3));
    };
    size(editor_.widthSpin, 12);
    size(editor_.lengthSpin, 12);
    size(editor_.heightSpin, 8);
    Note("new building " + std::to_string(editor_.widthSpin.Value()) + "x" + std::to_string(editor_.lengthSpin.Value()) +
         "x" + std::to_string(editor_.heightSpin.Value()));
    NewBuilding(editor_);
}

// Save with the text type, load it back: the same cells and sizes, TopView on layer 1.
void EditorSoak::SaveAndLoadText() {
    FakeDialogs& dialogs = fixture_.dialogs;
    const std::vector<BlockCode> before = BuildingCells(editor_);
    const std::string sizes = Sizes(editor_);
    const std::string name = "soak" + std::to_string(Uniform(0, 3));
    Note("save and load " + name + " at " + sizes);
    const std::size_t errors = dialogs.errors.size();
    // Declining to replace an earlier save must leave it as it was.
    const std::string earlier = FileBytes(PathFor(name + ".txt"));
    if (!earlier.empty() && Chance(20)) {
        dialogs.answerYes = false;
        dialogs.answers.push_back(FileChoice{PathFor(name), kTextFilter});
        SaveBuilding(editor_, false);
        if (FileBytes(PathFor(name + ".txt")) != earlier) {
            Fail("answering No to replacing " + name + ".txt changed it");
            return;
        }
    }
    dialogs.answerYes = true;
    dialogs.answers.push_back(FileChoice{PathFor(name), kTextFilter});
    SaveBuilding(editor_, false);
    if (dialogs.errors.size() != errors) {
        Fail("saving showed \"" + dialogs.errors.back() + "\"");
        return;
    }
    dialogs.answers.push_back(FileChoice{PathFor(name + ".txt"), kTextFilter});
    LoadBuilding(editor_);
    if (dialogs.errors.size() != errors)
        Fail("loading showed \"" + dialogs.errors.back() + "\"");
    else if (Sizes(editor_) != sizes)
        Fail("loading gave a building of " + Sizes(editor_) + " instead of " + sizes);
    else if (BuildingCells(editor_) != before)
        Fail("loading gave other cells than were saved");
    else if (!editor_.InTopView() || editor_.CurrentLayer() != 1)
        Fail("loading did not end in TopView on layer 1");
    ++roundTrips_;
}

// Export and import a schematic: block ids are shared by several blocks, so only the sizes
// must come back.
void EditorSoak::SaveAndLoadSchematic() {
    FakeDialogs& dialogs = fixture_.dialogs;
    const std::string sizes = Sizes(editor_);
    Note("export and import a schematic at " + sizes);
    dialogs.answerYes = true;
    dialogs.answers.push_back(FileChoice{PathFor("soak"), kSchematicFilter});
    SaveBuilding(editor_, false);
    dialogs.answers.push_back(FileChoice{PathFor("soak.schematic"), kSchematicFilter});
    LoadBuilding(editor_);
    if (Sizes(editor_) != sizes)
        Fail("the import gave a building of " + Sizes(editor_) + " instead of " + sizes);
}

// A saved file with some bytes changed, cut short or grown, loaded with either type.
void EditorSoak::LoadDamagedFile() {
    const std::string source = PathFor(Chance(50) ? "soak0.txt" : "soak.schematic");
    std::ifstream in(source, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.empty())
        bytes.assign(static_cast<std::size_t>(Uniform(0, 40)), 'x');
    for (int changes = Uniform(1, 8); changes > 0; --changes) {
        const std::size_t at = static_cast<std::size_t>(Uniform(0, static_cast<int>(bytes.size())));
        if (Chance(15))
            bytes.resize(at);
        else if (at < bytes.size())
            bytes[at] = static_cast<char>(Uniform(0, 255));
        else
            bytes.push_back(static_cast<char>(Uniform(0, 255)));
    }
    std::ofstream(PathFor("damaged"), std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                                static_cast<std::streamsize>(bytes.size()));
    const int filter = Chance(50) ? kTextFilter : kSchematicFilter;
    Note("load a damaged copy of " + source + " with filter " + std::to_string(filter));
    fixture_.dialogs.answers.push_back(FileChoice{PathFor("damaged"), filter});
    LoadBuilding(editor_);
}

}  // namespace stackmason::testing
