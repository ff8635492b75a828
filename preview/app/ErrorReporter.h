#pragma once

#include <string>

namespace orbitscope {

// Shows the user one message box titled "Error" with an OK button.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void ShowError(const std::string& text) = 0;
};

// The "Error" box with an OK button through SDL, which needs neither SDL's video system nor a
// window of ours. False when no box could be shown.
bool ShowErrorBox(const char* text);

// Through SDL's message box; the text also goes to the standard error stream, so that a
// run without a display still says what went wrong.
class SdlErrorReporter final : public ErrorReporter {
public:
    void ShowError(const std::string& text) override;
};

}  // namespace orbitscope
