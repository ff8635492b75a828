#pragma once

#include <string>
#include <vector>

#include "common/Image.h"
#include "tests/support/TestArchives.h"

namespace orbitscope::test {

// The files below are written into the test process's own temporary folder
// (ProcessTempFolder), which goes when the process ends.

// A preview file for the layers given as rows of cell characters ("/" air, "0" code 1, ...),
// written to a fresh file in the temporary folder; returns its path.
std::string WritePreviewFile(const std::string& name, int width, int length, int height, const std::string& packName,
                             const std::vector<std::vector<std::string>>& layers);

// A file holding exactly these bytes in the temporary folder; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

// A shell script of these lines in the temporary folder, executable; returns its path. An
// existing script of that name and these lines is left as it is, so that a death test's
// child, which runs the test again, does not rewrite a script another child may be running.
std::string WriteProgram(const std::string& name, const std::string& lines);

// A PNG of one colour.
std::vector<std::uint8_t> SolidPng(int width, int height, stackmason::Rgba colour);

// A pack file of these entries in the temporary folder; returns its path.
std::string WritePack(const std::string& name, const std::vector<stackmason::test::ArchiveEntry>& entries);

}  // namespace orbitscope::test
