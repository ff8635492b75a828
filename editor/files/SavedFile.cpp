#include "editor/files/SavedFile.h"

namespace stackmason {

bool CommitReporting(DialogPort& dialogs, AtomicFileWriter& file, const std::string& path) {
    if (!file.Created()) {
        dialogs.ShowError("Could Not Create File !");
        return false;
    }
    switch (file.Commit()) {
    case AtomicFileWriter::Result::Written:
        return true;
    case AtomicFileWriter::Result::CannotCreate:
        dialogs.ShowError("Could Not Create File !");
        return false;
    case AtomicFileWriter::Result::WriteFailed:
        break;
    }
    dialogs.ShowError("Could not write the file " + path + " (" + file.FailureReason() +
                      "). Nothing was saved; a file that was there before is unchanged.");
    return false;
}

bool SaveFileReporting(DialogPort& dialogs, const std::string& path,
                       const std::function<void(const ByteSink&)>& write) {
    AtomicFileWriter file(path);
    if (file.Created())
        write([&file](std::span<const std::uint8_t> block) { file.Write(block); });
    return CommitReporting(dialogs, file, path);
}

bool SaveFileReporting(DialogPort& dialogs, const std::string& path, std::span<const std::uint8_t> bytes) {
    return SaveFileReporting(dialogs, path, [bytes](const ByteSink& sink) { sink(bytes); });
}

}  // namespace stackmason
