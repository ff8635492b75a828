#include "preview/app/FatalErrorHandler.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <vector>

#include "preview/app/PreviewStep.h"

namespace orbitscope {

namespace {

// The handler can only reach the reporter through the process: signals carry no context.
ErrorReporter* installedReporter = nullptr;
volatile std::sig_atomic_t reporting = 0;

const char* SignalDescription(int signal) {
    switch (signal) {
        case SIGSEGV: return "Invalid memory access";
        case SIGBUS: return "Bus error (misaligned or missing memory)";
        case SIGFPE: return "Arithmetic error (division by zero)";
        case SIGILL: return "Illegal instruction";
        case SIGABRT: return "Program aborted";
        default: return "Fatal signal";
    }
}

[[noreturn]] void ReportAndEnd(const std::string& description) {
    // A second fatal error while the first is being shown ends the program at once.
    if (reporting != 0)
        _exit(0);
    reporting = 1;
    if (installedReporter)
        installedReporter->ShowError(FatalErrorText(description, PreviewStep));
    _exit(0);
}

void OnFatalSignal(int signal) { ReportAndEnd(SignalDescription(signal)); }

void OnUncaughtException() {
    std::string description = "Uncaught exception";
    try {
        if (std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const std::exception& error) {
        description += std::string(": ") + error.what();
    } catch (...) {
    }
    ReportAndEnd(description);
}

void UseAlternateSignalStack() {
    // A stack overflow leaves no stack for the handler; it runs on a stack of its own.
    static std::vector<char> stack(static_cast<std::size_t>(SIGSTKSZ) * 4);
    stack_t alternate{};
    alternate.ss_sp = stack.data();
    alternate.ss_size = stack.size();
    sigaltstack(&alternate, nullptr);
}

}  // namespace

std::string FatalErrorText(const std::string& description, int step) {
    return description + " Line: " + std::to_string(step);
}

void InstallFatalErrorHandler(ErrorReporter& reporter) {
    installedReporter = &reporter;
    UseAlternateSignalStack();
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    // No signal is held back while the report shows, so that a fault inside it ends the
    // process instead of hanging it.
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(signal, &action, nullptr);
    std::set_terminate(OnUncaughtException);
}

}  // namespace orbitscope
