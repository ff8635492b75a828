#include "editor/files/CsvFiles.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/model/UserAction.h"

namespace stackmason {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

FileRequest CsvFileRequest(const std::string& title) {
    FileRequest request;
    request.title = title;
    request.filters = {{"csv(*.csv)", "*.csv"}};
    std::error_code error;
    request.startName = std::filesystem::current_path(error).string();
    return request;
}

bool SaveCsvFile(Editor& editor, const FileRequest& request, const std::function<std::string()>& makeCsv) {
    const std::optional<FileChoice> choice = editor.dialogs.AskSaveFile(request);
    if (!choice)
        return false;
    const std::string path = WithExtension(choice->path, "csv");
    NameRunningAction(editor, "save " + FileNamePart(path));
    if (!MayWrite(editor.dialogs, request.title, path))
        return false;
    const std::string csv = makeCsv();
    return SaveFileReporting(editor.dialogs, path,
                             std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
}

}  // namespace stackmason
