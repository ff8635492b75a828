#pragma once

#include <string>

#include "preview/app/ErrorReporter.h"

namespace orbitscope {

// The report's text: the error's description, " Line: " and the running step.
std::string FatalErrorText(const std::string& description, int step);

// From now on a fatal signal (invalid memory access, bus error, arithmetic error, illegal
// instruction, abort) or an exception that nothing catches shows one "Error" box through
// reporter with FatalErrorText(description, PreviewStep) and ends the process with exit
// code 0. reporter must outlive the process's run.
void InstallFatalErrorHandler(ErrorReporter& reporter);

}  // namespace orbitscope
