#include "editor/convert/Conversion.h"

#include <algorithm>
#include <utility>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <system_error>
#include <vector>

#include "common/BuildingReader.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/CodeCounts.h"
#include "editor/files/FileRequests.h"
#include "editor/files/LayerPlans.h"
#include "editor/files/MaterialList.h"
#include "editor/files/PlanFiles.h"
#include "editor/files/SavedFile.h"
#include "editor/model/Editor.h"
#include "editor/model/HeadlessPorts.h"
#include "editor/model/UserAction.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;

// The requesters are answered with the files of the command line, and no question is left
// to a user: whatever the editor would show in an "Error" box ends the conversion.
class CommandLineDialogs final : public DialogPort {
public:
    explicit CommandLineDialogs(bool mayReplace) : mayReplace_(mayReplace) {}

    void Answer(FileChoice choice) { answer_ = std::move(choice); }
    const std::vector<std::string>& Messages() const { return messages_; }
    const std::vector<std::string>& Notes() const { return notes_; }
    std::vector<std::string> TakeNotes() { return std::exchange(notes_, {}); }

    void ShowError(const std::string& text) override { messages_.push_back(text); }
    void ShowInfo(const std::string& text) override { notes_.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    bool AskToReplace(const std::string&, const std::string&) override {
        if (!mayReplace_)
            messages_.push_back(ExistsMessage());
        return mayReplace_;
    }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return answer_; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return answer_; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return false; }
    void ShowInfoWindow() override {}

    static std::string ExistsMessage() { return "already exists (--force replaces it)"; }

private:
    bool mayReplace_;
    std::optional<FileChoice> answer_;
    std::vector<std::string> messages_;
    std::vector<std::string> notes_;
};

// An "Info" text after a load, as lines "<file>: <line>": each of its lines names a block.
void AddLoadNotes(const std::string& path, const std::string& notice, std::vector<std::string>* notes) {
    if (!notes || notice.empty())
        return;
    std::size_t start = 0;
    while (start <= notice.size()) {
        const std::size_t end = std::min(notice.find('\n', start), notice.size());
        notes->push_back(path + ": " + notice.substr(start, end - start));
        start = end + 1;
    }
}

std::string Failure(const std::string& what, const std::string& why) {
    std::string line = what + ": " + why;
    // Messages made for a box may run over several lines; the report is one.
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

std::optional<std::string> InputProblem(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        return "no such file";
    if (fs::is_directory(status))
        return "is a folder, not a file";
    return std::nullopt;
}

// The editor takes a header size only when its size field can show it and otherwise keeps
// the size the field showed before. The converter has no building before, so it would make
// up one of the start sizes, all air, and call that a success: such a file is refused.
std::optional<std::string> HeaderProblem(const Editor& editor, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;  // The load itself reports a file it cannot open.
    // The sizes stand at the start of the line; the pack name behind them does not matter here.
    constexpr std::size_t kLongestHeaderLooked = 4096;
    std::string line;
    char c = 0;
    while (line.size() < kLongestHeaderLooked && file.get(c) && c != '\r' && c != '\n' && c != '\0')
        line.push_back(c);
    const BuildingHeader header = ParseHeaderLine(line);
    const auto fits = [](const SpinModel& field, std::int32_t value) {
        return value >= field.Minimum() && value <= field.Maximum();
    };
    if (fits(editor.widthSpin, header.width) && fits(editor.lengthSpin, header.length) &&
        fits(editor.heightSpin, header.height))
        return std::nullopt;
    return "the header gives no building size (" + std::to_string(header.width) + "x" +
           std::to_string(header.length) + "x" + std::to_string(header.height) + "; a building measures 1 to " +
           std::to_string(editor.widthSpin.Maximum()) + " x 1 to " + std::to_string(editor.lengthSpin.Maximum()) +
           " x 1 to " + std::to_string(editor.heightSpin.Maximum()) + ")";
}

bool PackHasBlocks(const SelectorModel& selector) {
    for (int index = 1; index < selector.Count(); ++index)
        if (selector.ItemAt(index).isBlockPicture)
            return true;
    return false;
}

// A schematic's block ids come from the pack, both ways: without a pack that opens, an
// import would make every cell air and an export would write every block as the same
// id. The editor goes on with air alone; a conversion has no user to see that, so it stops.
std::optional<std::string> PackProblem(const SelectorModel& selector, const std::string& packName,
                                       const ConversionRequest& request) {
    if (PackHasBlocks(selector))
        return std::nullopt;
    const std::string& looked = request.packPath.empty() ? packName : request.packPath;
    if (looked.empty())
        return Failure(request.input, "the header names no texture pack (--pack names one)");
    std::error_code error;
    if (!fs::is_regular_file(looked, error))
        return Failure(looked, "texture pack not found");
    return Failure(looked, "not a texture pack: it holds no block pictures");
}

// The schematics name their blocks through the pack, by id or by block state.
bool NamesBlocksThroughPack(int filter) { return !FormatOfFilter(filter).packName.empty(); }

bool NeedsPack(const ConversionRequest& request, int inputFilter, int outputFilter) {
    return !request.packPath.empty() || NamesBlocksThroughPack(inputFilter) || NamesBlocksThroughPack(outputFilter);
}

// "unknown type: the name must end in .txt, .schematic or .schem", from the formats known.
std::string UnknownTypeMessage() {
    const std::span<const FileFormat> formats = FileFormats();
    std::string text = "unknown type: the name must end in ";
    for (std::size_t index = 0; index < formats.size(); ++index) {
        if (index > 0)
            text += index + 1 == formats.size() ? " or " : ", ";
        // Appended piece by piece: GCC 12 reports a false -Wrestrict for `"." + std::string`
        // in optimised builds.
        text += '.';
        text += formats[index].extension;
    }
    return text;
}

// An editor without a window, whose requesters the conversion answers.
struct HeadlessEditor {
    HeadlessEditor(bool mayReplace, std::int64_t dataVersion) : dialogs(mayReplace) {
        // The release the command line chose is the session's, as if picked in the requester.
        editor.gameDataVersion = dataVersion;
    }

    HeadlessPainter painter;
    HeadlessWindow window;
    CommandLineDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Loads the input as the Load button does; the failure line when that fails.
std::optional<std::string> LoadInput(HeadlessEditor& headless, const ConversionRequest& request, int inputFilter,
                                     bool packNeeded, std::vector<std::string>* notes) {
    if (const std::optional<std::string> problem = InputProblem(request.input))
        return Failure(request.input, *problem);
    Editor& editor = headless.editor;
    if (FormatOfFilter(inputFilter).packName.empty())
        if (const std::optional<std::string> problem = HeaderProblem(editor, request.input))
            return Failure(request.input, *problem);
    const FileChoice input{request.input, inputFilter};
    RunUserAction(editor, "load " + FileNamePart(request.input),
                  [&] { LoadBuildingFile(editor, input, request.packPath); });
    if (!headless.dialogs.Messages().empty())
        return Failure(request.input, headless.dialogs.Messages().front());
    for (const std::string& notice : headless.dialogs.TakeNotes())
        AddLoadNotes(request.input, notice, notes);
    if (packNeeded)
        if (std::optional<std::string> problem = PackProblem(editor.selector, editor.texturePackName, request))
            return problem;
    return std::nullopt;
}

// Whether the input is read a layer at a time instead of loaded whole.
bool IsStreamed(int inputFilter) { return FormatOfFilter(inputFilter).stream != nullptr; }

// Opens the input to be read a layer at a time, with the checks LoadInput makes in its
// order; the failure line when that fails.
std::optional<std::string> StreamInput(HeadlessEditor& headless, const ConversionRequest& request, int inputFilter,
                                       bool packNeeded, StreamedFile& streamed, std::vector<std::string>* notes) {
    if (const std::optional<std::string> problem = InputProblem(request.input))
        return Failure(request.input, *problem);
    const Editor& editor = headless.editor;
    const FileFormat& format = FormatOfFilter(inputFilter);
    if (format.packName.empty())
        if (const std::optional<std::string> problem = HeaderProblem(editor, request.input))
            return Failure(request.input, *problem);
    streamed = format.stream(request.input, LoadContextFor(editor, format, request.packPath));
    if (!streamed.layers)
        return Failure(request.input, streamed.problem);
    AddLoadNotes(request.input, streamed.notice, notes);
    if (packNeeded)
        if (std::optional<std::string> problem = PackProblem(streamed.pack.selector, streamed.pack.name, request))
            return problem;
    return std::nullopt;
}

// What a listing makes of the input's layers, bottom up, named by its pack's selector.
using LayerCounter = std::function<void(const SelectorModel& selector, const LayerSource& layers)>;

// Reads the input as the conversion does, a layer at a time where its type allows, and hands
// its layers to `count`; the failure line when that fails.
std::optional<std::string> CountInputLayers(const ConversionRequest& request, const LayerCounter& count,
                                            std::vector<std::string>* notes) {
    const std::optional<int> inputFilter = FilterOfFileName(request.input);
    if (!inputFilter)
        return Failure(request.input, UnknownTypeMessage());
    HeadlessEditor headless(false, request.dataVersion);
    // The block states come from the pack: a list without it would name nothing.
    if (!IsStreamed(*inputFilter)) {
        if (std::optional<std::string> problem = LoadInput(headless, request, *inputFilter, true, notes))
            return problem;
        count(headless.editor.selector, LayersOf(headless.editor.grid));
        return std::nullopt;
    }
    StreamedFile streamed;
    if (std::optional<std::string> problem = StreamInput(headless, request, *inputFilter, true, streamed, notes))
        return problem;
    try {
        count(streamed.pack.selector, *streamed.layers);
    } catch (const LayerReadFailure& failure) {
        return Failure(request.input, failure.what());
    }
    return std::nullopt;
}

// The Save button's checks and writer, fed a layer at a time from the input.
std::optional<std::string> SaveStreamed(CommandLineDialogs& dialogs, const ConversionRequest& request,
                                        int outputFilter, const StreamedFile& streamed) {
    const FileRequest saveRequest = SaveBuildingRequest();
    if (!MayWrite(dialogs, saveRequest.title, request.output))
        return Failure(request.output, dialogs.Messages().front());
    try {
        FormatOfFilter(outputFilter)
            .save(SavedBuilding{*streamed.layers, streamed.pack.selector, streamed.pack.name, request.dataVersion},
                  dialogs, request.output);
    } catch (const LayerReadFailure& failure) {
        return Failure(request.input, failure.what());
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ListMaterials(const ConversionRequest& request, std::string& csv,
                                         std::vector<std::string>* notes) {
    return CountInputLayers(
        request,
        [&](const SelectorModel& selector, const LayerSource& layers) {
            CodeCounts counts;
            layers.forEachLayer([&counts](int, const LayerView& layer) { counts.AddLayer(layer.Holder(), layer.At()); });
            csv = MaterialCsv(MaterialsOf(counts, selector, request.dataVersion));
        },
        notes);
}

std::optional<std::string> ListLayerTable(const ConversionRequest& request, std::string& csv,
                                          std::vector<std::string>* notes) {
    // A file has no view: its layers are counted as the editor shows them after loading it.
    return CountInputLayers(
        request,
        [&](const SelectorModel& selector, const LayerSource& layers) {
            PlaneCounts counts;
            layers.forEachLayer([&counts](int, const LayerView& layer) { counts.AddLayer(layer.Holder(), layer.At()); });
            csv = LayerTableCsv(counts, "Layer", selector, request.dataVersion);
        },
        notes);
}

std::optional<std::string> WriteLayerPlans(const ConversionRequest& request, std::vector<std::string>* notes) {
    const std::optional<int> inputFilter = FilterOfFileName(request.input);
    if (!inputFilter)
        return Failure(request.input, UnknownTypeMessage());
    const bool booklet = request.plans == ConversionRequest::Plans::Booklet;
    std::error_code error;
    if (booklet && !request.replaceOutput && fs::exists(request.output, error))
        return Failure(request.output, CommandLineDialogs::ExistsMessage());
    if (!booklet && fs::exists(request.output, error) && !fs::is_directory(request.output, error))
        return Failure(request.output, "is a file, not a folder");

    HeadlessEditor headless(request.replaceOutput, request.dataVersion);
    Editor& editor = headless.editor;
    CommandLineDialogs& dialogs = headless.dialogs;
    // The block pictures come from the pack; one named on the command line must open.
    if (std::optional<std::string> problem =
            LoadInput(headless, request, *inputFilter, NeedsPack(request, *inputFilter, kTextFilter), notes))
        return problem;
    const LayerPlan plan = MakeLayerPlan(editor, fs::path(request.input).stem().string());
    if (booklet) {
        RunUserAction(editor, "save " + FileNamePart(request.output), [&] {
            SaveFileReporting(dialogs, request.output, [&](const ByteSink& sink) {
                WriteLayerBooklet(plan, editor.grid, editor.selector, sink);
            });
        });
    } else {
        fs::create_directories(request.output, error);
        if (error)
            return Failure(request.output, "the folder could not be made: " + error.message());
        const std::vector<std::string> existing = ExistingPictures(plan, request.output);
        if (!existing.empty() && !request.replaceOutput)
            return Failure((fs::path(request.output) / existing.front()).string(), CommandLineDialogs::ExistsMessage());
        RunUserAction(editor, "save the layer pictures", [&] {
            WriteLayerPictures(dialogs, plan, editor.grid, editor.selector, request.output);
        });
    }
    if (!dialogs.Messages().empty())
        return Failure(request.output, dialogs.Messages().front());
    return std::nullopt;
}

std::optional<std::string> ConvertBuildingFile(const ConversionRequest& request, std::vector<std::string>* notes) {
    const std::optional<int> inputFilter = FilterOfFileName(request.input);
    if (!inputFilter)
        return Failure(request.input, UnknownTypeMessage());
    const std::optional<int> outputFilter = FilterOfFileName(request.output);
    if (!outputFilter)
        return Failure(request.output, UnknownTypeMessage());
    if (const std::optional<std::string> problem = InputProblem(request.input))
        return Failure(request.input, *problem);
    std::error_code error;
    if (!request.replaceOutput && fs::exists(request.output, error))
        return Failure(request.output, CommandLineDialogs::ExistsMessage());

    HeadlessEditor headless(request.replaceOutput, request.dataVersion);
    Editor& editor = headless.editor;
    CommandLineDialogs& dialogs = headless.dialogs;
    const bool packNeeded = NeedsPack(request, *inputFilter, *outputFilter);
    if (IsStreamed(*inputFilter)) {
        // Read a layer at a time for each pass the writer makes: the building is never held.
        StreamedFile streamed;
        if (std::optional<std::string> problem =
                StreamInput(headless, request, *inputFilter, packNeeded, streamed, notes))
            return problem;
        if (std::optional<std::string> problem = SaveStreamed(dialogs, request, *outputFilter, streamed))
            return problem;
    } else {
        if (std::optional<std::string> problem = LoadInput(headless, request, *inputFilter, packNeeded, notes))
            return problem;
        // The Save button's own path: its requester answered with OUT and its type.
        dialogs.Answer(FileChoice{request.output, *outputFilter});
        RunUserAction(editor, "save " + FileNamePart(request.output), [&] { SaveBuilding(editor, false); });
    }
    if (!dialogs.Messages().empty())
        return Failure(request.output, dialogs.Messages().front());
    if (notes)
        for (std::string note : dialogs.Notes()) {
            // A box lists one block a line after its first; the report is one line.
            if (const std::size_t first = note.find('\n'); first != std::string::npos)
                note[first] = ' ';
            for (std::size_t at = note.find('\n'); at != std::string::npos; at = note.find('\n', at))
                note.replace(at, 1, ", ");
            notes->push_back(Failure(request.output, note));
        }
    return std::nullopt;
}

}  // namespace stackmason
