#include "editor/files/FileRequests.h"

#include <filesystem>
#include <span>
#include <string>
#include <system_error>

#include "editor/files/FileFormats.h"

namespace stackmason {
namespace {

FileRequest BuildingRequest(std::string title) {
    FileRequest request;
    request.title = std::move(title);
    for (const FileFormat& format : FileFormats())
        request.filters.push_back({std::string(format.label), std::string(format.pattern)});
    request.selectedFilter = kTextFilter;
    // The requester opens in the current directory; the dialog must not change it.
    std::error_code error;
    request.startName = std::filesystem::current_path(error).string();
    return request;
}

}  // namespace

std::string_view FilterExtension(int filter) { return FormatOfFilter(filter).extension; }

FileRequest SaveBuildingRequest(const GameRelease& release) {
    FileRequest request = BuildingRequest("Save Building ");
    request.choiceLabel = kGameVersionLabel;
    const std::span<const GameRelease> releases = GameReleases();
    for (std::size_t index = 0; index < releases.size(); ++index) {
        request.choices.emplace_back(releases[index].name);
        if (releases[index].dataVersion == release.dataVersion)
            request.selectedChoice = static_cast<int>(index);
    }
    return request;
}

const GameRelease& ChosenGameRelease(const FileChoice& choice, const GameRelease& unchanged) {
    const std::span<const GameRelease> releases = GameReleases();
    if (choice.choice < 0 || static_cast<std::size_t>(choice.choice) >= releases.size())
        return unchanged;
    return releases[static_cast<std::size_t>(choice.choice)];
}

FileRequest LoadBuildingRequest() { return BuildingRequest("Load Building "); }

std::string WithExtension(const std::string& path, std::string_view extension) {
    const std::size_t nameStart = path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    if (hasExtension && std::string_view(path).substr(dot + 1) == extension)
        return path;
    return path + "." + std::string(extension);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace stackmason
