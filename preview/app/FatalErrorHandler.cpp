#include "preview/app/FatalErrorHandler.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <exception>

#include "preview/app/PreviewStep.h"

extern char** environ;

namespace orbitscope {

namespace {

// Signals carry no context, so the handler finds what it needs here; all of it is set up
// when the handler is installed and only read in the handler.
const char* installedBoxProgram = nullptr;
volatile std::sig_atomic_t reporting = 0;

// The report's text, composed without allocating: a fault inside malloc may have left the
// heap locked or broken.
class ReportText {
public:
    void Append(const char* text) {
        for (; text != nullptr && *text != '\0' && length_ < kCapacity; ++text)
            buffer_[length_++] = *text;
        buffer_[length_] = '\0';
    }
    void AppendNumber(long number) {
        char digits[24];
        int count = 0;
        const bool negative = number < 0;
        unsigned long rest = negative ? 0ul - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
        do {
            digits[count++] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (negative)
            Append("-");
        char reversed[24];
        for (int i = 0; i < count; ++i)
            reversed[i] = digits[count - 1 - i];
        reversed[count] = '\0';
        Append(reversed);
    }
    const char* Text() const { return buffer_; }
    std::size_t Length() const { return length_; }

private:
    static constexpr std::size_t kCapacity = 1024;
    char buffer_[kCapacity + 1] = {};
    std::size_t length_ = 0;
};

ReportText report;  // static storage: the handler may run on a small alternate stack

// The report's layout: description and detail, " Line: ", the step.
void ComposeReport(ReportText& text, const char* description, const char* detail, long step) {
    text.Append(description);
    text.Append(detail);
    text.Append(" Line: ");
    text.AppendNumber(step);
}

void WriteToStandardError(const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(STDERR_FILENO, text, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

// Closes every file but the standard streams: in the box process they are not its own; in
// this one, closing them drops the window's display connection and with it the window and
// its pointer grab, which would keep the box from being clicked.
void CloseFilesAboveStandardStreams() {
    if (close_range(3, ~0u, 0) == 0)
        return;
    for (int file = 3; file < 4096; ++file)
        close(file);
}

void ShowBoxFromFreshProcess(const char* text) {
    // _Fork, unlike fork, runs no handlers of other libraries and is safe in a signal handler.
    const pid_t child = _Fork();
    if (child == 0) {
        CloseFilesAboveStandardStreams();
        char argument[kErrorBoxArgument.size() + 1] = {};
        kErrorBoxArgument.copy(argument, kErrorBoxArgument.size());
        char* const arguments[] = {const_cast<char*>(installedBoxProgram), argument, const_cast<char*>(text), nullptr};
        execve(installedBoxProgram, arguments, environ);
        _exit(0);
    }
    if (child < 0)
        return;
    CloseFilesAboveStandardStreams();
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

[[noreturn]] void ReportAndEnd(const char* description, const char* detail) {
    // A second fatal error while the first is being reported ends the program at once.
    if (reporting != 0)
        _exit(0);
    reporting = 1;
    ComposeReport(report, description, detail, PreviewStep);
    WriteToStandardError("Error: ", 7);
    WriteToStandardError(report.Text(), report.Length());
    WriteToStandardError("\n", 1);
    if (installedBoxProgram != nullptr)
        ShowBoxFromFreshProcess(report.Text());
    _exit(0);
}

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

void OnFatalSignal(int signal) { ReportAndEnd(SignalDescription(signal), ""); }

void OnUncaughtException() {
    try {
        if (std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const std::exception& error) {
        ReportAndEnd("Uncaught exception: ", error.what());
    } catch (...) {
    }
    ReportAndEnd("Uncaught exception", "");
}

void UseAlternateSignalStack() {
    // A stack overflow leaves no stack for the handler; it runs on a stack of its own.
    static char stack[64 * 1024];
    stack_t alternate{};
    alternate.ss_sp = stack;
    alternate.ss_size = sizeof stack;
    sigaltstack(&alternate, nullptr);
}

}  // namespace

std::string FatalErrorText(const std::string& description, int step) {
    ReportText text;
    ComposeReport(text, description.c_str(), "", step);
    return text.Text();
}

void InstallFatalErrorHandler(const char* boxProgram) {
    installedBoxProgram = boxProgram;
    UseAlternateSignalStack();
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    // No signal is held back while the report runs, so that a fault inside it ends the
    // process instead of hanging it.
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(signal, &action, nullptr);
    std::set_terminate(OnUncaughtException);
}

}  // namespace orbitscope
