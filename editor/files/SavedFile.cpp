#include "editor/files/SavedFile.h"

#include "editor/files/AtomicFileWriter.h"

namespace stackmason {

bool SaveFileReporting(DialogPort& dialogs, const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter file(path);
    if (!file.Created()) {
        dialogs.ShowError("Could Not Create File !");
        return false;
    }
    file.Write(bytes);
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

}  // namespace stackmason
