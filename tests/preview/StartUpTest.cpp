#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "preview/app/FatalErrorHandler.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/PreviewSystem.h"

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

// Writes the report where a death test can read it.
struct StderrReporter final : ErrorReporter {
    void ShowError(const std::string& text) override { std::fprintf(stderr, "[%s]\n", text.c_str()); }
};

void CrashAt(int step, int signal) {
    static StderrReporter reporter;
    InstallFatalErrorHandler(reporter);
    PreviewStep = step;
    std::raise(signal);
}

void Throw() { throw std::runtime_error("no more blocks"); }

// Nothing catches the exception: it leaves a function that may not throw.
void ThrowAt(int step) noexcept {
    static StderrReporter reporter;
    InstallFatalErrorHandler(reporter);
    PreviewStep = step;
    Throw();
}

int* volatile nowhere = nullptr;

// A report that fails itself.
struct CrashingReporter final : ErrorReporter {
    void ShowError(const std::string&) override { *nowhere = 2; }
};

void CrashWhileReporting() {
    static CrashingReporter reporter;
    InstallFatalErrorHandler(reporter);
    std::raise(SIGBUS);
}

TEST(FatalErrorHandler, ReportsTheRunningStepAndEndsWithExitCodeZero) {
    EXPECT_EQ(FatalErrorText("Invalid memory access", 42), "Invalid memory access Line: 42");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CrashAt(117, SIGSEGV), testing::ExitedWithCode(0), "\\[Invalid memory access Line: 117\\]");
    EXPECT_EXIT(CrashAt(9, SIGFPE), testing::ExitedWithCode(0), "Line: 9\\]");
    EXPECT_EXIT(CrashAt(10, SIGABRT), testing::ExitedWithCode(0), "\\[Program aborted Line: 10\\]");
    EXPECT_EXIT(ThrowAt(303), testing::ExitedWithCode(0), "\\[Uncaught exception: no more blocks Line: 303\\]");
    EXPECT_EXIT(
        {
            CrashAt(55, 0);
            *nowhere = 1;
        },
        testing::ExitedWithCode(0), "\\[Invalid memory access Line: 55\\]");
    EXPECT_EXIT(CrashWhileReporting(), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orbitscope
