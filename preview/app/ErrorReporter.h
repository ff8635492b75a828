#pragma once

#include <string>

namespace orbitscope {

// Shows the user one message box titled "Error" with an OK button.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void ShowError(const std::string& text) = 0;
};

// Through SDL's message box; the text also goes to the standard error stream, so that a
// run without a display still says what went wrong.
class SdlErrorReporter final : public ErrorReporter {
public:
    void ShowError(const std::string& text) override;
};

}  // namespace orbitscope
