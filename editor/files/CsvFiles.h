#pragma once

#include <functional>
#include <string>

#include "editor/model/Editor.h"

namespace stackmason {

// A field of a CSV line as spreadsheets read it: as it stands, or quoted with its quotes
// doubled when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);

// A save requester for CSV files with this title, starting in the current folder.
FileRequest CsvFileRequest(const std::string& title);

// Asks for a file name with `request` (".csv" appended unless the name ends in it, an
// existing file replaced only after asking) and writes the text `makeCsv` gives there through
// the safe writer, reporting failures as the other saves do. True when written; the text is
// made only once a file is chosen.
bool SaveCsvFile(Editor& editor, const FileRequest& request, const std::function<std::string()>& makeCsv);

}  // namespace stackmason
