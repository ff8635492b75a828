#include "editor/files/FileRequests.h"

#include <filesystem>
#include <system_error>

namespace stackmason {
namespace {

FileRequest BuildingRequest(std::string title) {
    FileRequest request;
    request.title = std::move(title);
    request.filters = {
        {"txt(*.txt)", "*.txt"}, {"schematic(*.schematic)", "*.schematic"}, {"schem(*.schem)", "*.schem"}};
    request.selectedFilter = kTextFilter;
    // The requester opens in the current directory; the dialog must not change it.
    std::error_code error;
    request.startName = std::filesystem::current_path(error).string();
    return request;
}

}  // namespace

const char* FilterExtension(int filter) {
    switch (filter) {
    case kSchematicFilter:
        return "schematic";
    case kSpongeFilter:
        return "schem";
    default:
        return "txt";
    }
}

FileRequest SaveBuildingRequest() { return BuildingRequest("Save Building "); }

FileRequest LoadBuildingRequest() { return BuildingRequest("Load Building "); }

std::string WithExtension(const std::string& path, std::string_view extension) {
    const std::size_t nameStart = path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    if (hasExtension && std::string_view(path).substr(dot + 1) == extension)
        return path;
    return path + "." + std::string(extension);
}

}  // namespace stackmason
