// The fatal-error report when the fault struck inside the C library: a heap that is corrupt or
// locked by the malloc that faulted. This program replaces malloc, so that once allocation is
// forbidden any call ends the process with exit code 3 and the death test sees it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstddef>

#include "preview/app/FatalErrorHandler.h"
#include "preview/app/PreviewStep.h"
#include "tests/preview/PreviewTestFiles.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORBITSCOPE_SANITIZER_OWNS_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORBITSCOPE_SANITIZER_OWNS_MALLOC 1
#endif
#endif

namespace {

volatile std::sig_atomic_t allocationForbidden = 0;

}  // namespace

#ifndef ORBITSCOPE_SANITIZER_OWNS_MALLOC
extern "C" void* __libc_malloc(std::size_t size);

extern "C" void* malloc(std::size_t size) {
    if (allocationForbidden != 0) {
        static const char kText[] = "malloc called during the fatal-error report\n";
        (void)write(STDERR_FILENO, kText, sizeof kText - 1);
        _exit(3);
    }
    return __libc_malloc(size);
}
#endif

namespace orbitscope {
namespace {

int* volatile nowhere = nullptr;

void FaultWhereAllocationFails(const char* boxProgram, int step) {
    InstallFatalErrorHandler(boxProgram);
    PreviewStep = step;
    allocationForbidden = 1;
    *nowhere = 1;
}

TEST(FatalErrorHandler, ReportsWithoutAllocatingWhenTheFaultIsInsideTheCLibrary) {
#ifdef ORBITSCOPE_SANITIZER_OWNS_MALLOC
    GTEST_SKIP() << "the address sanitizer owns malloc";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static const std::string box = test::WriteProgram("show-box.sh", "printf 'box[%s][%s]\\n' \"$1\" \"$2\" >&2\n");
    EXPECT_EXIT(FaultWhereAllocationFails(nullptr, 117), testing::ExitedWithCode(0),
                "Error: Invalid memory access Line: 117\n");
    EXPECT_EXIT(FaultWhereAllocationFails(box.c_str(), 118), testing::ExitedWithCode(0),
                "Error: Invalid memory access Line: 118\nbox\\[--show-error-box\\]\\[Invalid memory access Line: 118\\]");
}

}  // namespace
}  // namespace orbitscope
