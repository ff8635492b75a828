#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "preview/app/FatalErrorHandler.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/PreviewSystem.h"
#include "tests/preview/PreviewTestFiles.h"

namespace orbitscope {
namespace {

struct RecordingReporter final : ErrorReporter {
    std::vector<std::string> shown;
    void ShowError(const std::string& text) override { shown.push_back(text); }
};

// Notes each call and fails the one named by failAt.
struct FakeSystem final : PreviewSystem {
    std::string failAt;
    std::vector<std::string> calls;

    bool Step(const std::string& call) {
        calls.push_back(call);
        return call.rfind(failAt, 0) != 0 || failAt.empty();
    }
    bool InitEngine3D(int flags) override { return Step("InitEngine3D " + std::to_string(flags)); }
    bool InitSprite() override { return Step("InitSprite"); }
    bool InitKeyboard() override { return Step("InitKeyboard"); }
    bool InitMouse() override { return Step("InitMouse"); }
    void Add3DArchive(const std::string& path, int kind) override { Step("Add3DArchive " + path + " " + std::to_string(kind)); }
    void AntialiasingMode(int mode) override { Step("AntialiasingMode " + std::to_string(mode)); }
    bool OpenWindow(int width, int height, const std::string& title) override {
        return Step("OpenWindow " + std::to_string(width) + "x" + std::to_string(height) + " " + title);
    }
    bool OpenWindowedScreen(int x, int y, int width, int height, int flipMode) override {
        return Step("OpenWindowedScreen " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) +
                    "x" + std::to_string(height) + " " + std::to_string(flipMode));
    }
    void UsePngDecoder() override { Step("UsePngDecoder"); }
};

TEST(StartUp, RunsInOrderAndStopsAtTheFirstFailureWithItsMessage) {
    const std::vector<std::string> order = {"InitEngine3D 1", "InitSprite", "InitKeyboard", "InitMouse",
                                            "Add3DArchive \\ 0", "AntialiasingMode 4", "OpenWindow 1024x768 Orbitscope",
                                            "OpenWindowedScreen 0,0 1024x768 1", "UsePngDecoder"};
    FakeSystem fine;
    RecordingReporter quiet;
    EXPECT_TRUE(StartUpPreview(fine, quiet));
    EXPECT_EQ(fine.calls, order);
    EXPECT_TRUE(quiet.shown.empty());

    const std::vector<std::pair<std::string, std::string>> failures = {
        {"InitEngine3D", "InitEngine3D() failure! Please sent logfile!"},
        {"InitSprite", "InitSprite() failure!"},
        {"InitKeyboard", "InitKeyboard() failure!"},
        {"InitMouse", "InitMouse() failure!"},
        {"OpenWindow ", "Could not Open Window!"},
        {"OpenWindowedScreen", "Could not Open WindowedScreen!"},
    };
    for (const auto& [step, message] : failures) {
        FakeSystem system;
        system.failAt = step;
        RecordingReporter reporter;
        EXPECT_FALSE(StartUpPreview(system, reporter)) << step;
        EXPECT_EQ(reporter.shown, std::vector<std::string>{message});
        ASSERT_FALSE(system.calls.empty());
        EXPECT_EQ(system.calls.back().rfind(step, 0), 0u) << "a step after " << step << " ran";
    }
}

void CrashAt(int step, int signal) {
    InstallFatalErrorHandler(nullptr);
    PreviewStep = step;
    std::raise(signal);
}

void Throw() { throw std::runtime_error("no more blocks"); }

// Nothing catches the exception: it leaves a function that may not throw.
void ThrowAt(int step) noexcept {
    InstallFatalErrorHandler(nullptr);
    PreviewStep = step;
    Throw();
}

int* volatile nowhere = nullptr;

void CrashWithBox(const std::string& boxProgram, int step) {
    static std::string program;
    program = boxProgram;
    InstallFatalErrorHandler(program.c_str());
    PreviewStep = step;
    *nowhere = 1;
}

TEST(FatalErrorHandler, ReportsTheRunningStepAndEndsWithExitCodeZero) {
    EXPECT_EQ(FatalErrorText("Invalid memory access", 42), "Invalid memory access Line: 42");
    EXPECT_EQ(FatalErrorText("Odd", -7), "Odd Line: -7");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CrashAt(117, SIGSEGV), testing::ExitedWithCode(0), "Error: Invalid memory access Line: 117\n");
    EXPECT_EXIT(CrashAt(9, SIGFPE), testing::ExitedWithCode(0), "Line: 9\n");
    EXPECT_EXIT(CrashAt(10, SIGABRT), testing::ExitedWithCode(0), "Error: Program aborted Line: 10\n");
    EXPECT_EXIT(ThrowAt(303), testing::ExitedWithCode(0), "Error: Uncaught exception: no more blocks Line: 303\n");
    EXPECT_EXIT(
        {
            CrashAt(55, 0);
            *nowhere = 1;
        },
        testing::ExitedWithCode(0), "Error: Invalid memory access Line: 55\n");

    // The box comes from a fresh process that is handed the text; the report waits for it,
    // and a box that fails itself still ends the program with exit code 0.
    const std::string box = test::WriteProgram("show-box.sh", "printf 'box[%s][%s]\\n' \"$1\" \"$2\" >&2\n");
    EXPECT_EXIT(CrashWithBox(box, 808), testing::ExitedWithCode(0),
                "Error: Invalid memory access Line: 808\nbox\\[--show-error-box\\]\\[Invalid memory access Line: 808\\]");
    const std::string failingBox = test::WriteProgram("failing-box.sh", "kill -SEGV $$\n");
    EXPECT_EXIT(CrashWithBox(failingBox, 809), testing::ExitedWithCode(0), "Line: 809");
    EXPECT_EXIT(CrashWithBox("/nonexistent/box", 810), testing::ExitedWithCode(0), "Line: 810");
}

}  // namespace
}  // namespace orbitscope
