#pragma once

#include <string>
#include <string_view>

namespace orbitscope {

// The report's text: the error's description, " Line: " and the running step.
std::string FatalErrorText(const std::string& description, int step);

// The argument that makes Orbitscope show the text that follows it in an "Error" box and end:
// how the fatal-error report reaches the user from a fresh process.
inline constexpr std::string_view kErrorBoxArgument = "--show-error-box";

// From now on a fatal signal (invalid memory access, bus error, arithmetic error, illegal
// instruction, abort) or an exception that nothing catches reports
// FatalErrorText(description, PreviewStep) and ends the process with exit code 0.
//
// The fault may have struck inside the C library (a corrupt heap, a lock held by malloc or
// stdio), so the report allocates nothing and uses no stdio: the text is composed in a
// buffer of its own and written to standard error with write(); then, unless boxProgram is
// null, a fresh process runs boxProgram with kErrorBoxArgument and the text, which shows the
// box with an untouched C library, and the report waits for it. Before waiting, this process
// closes its files, so that its window and its hold on the pointer go and the box can be
// clicked. boxProgram must stay valid for the rest of the run.
void InstallFatalErrorHandler(const char* boxProgram);

}  // namespace orbitscope
