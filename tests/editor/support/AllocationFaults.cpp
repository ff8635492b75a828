#include "tests/editor/support/AllocationFaults.h"

#include <cstdlib>
#include <limits>
#include <new>

#include "common/CellMemory.h"

namespace {

constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

std::size_t allocationLimit = kNever;
// Allocations still to come before the one that fails; kNever when none is to fail.
std::size_t allocationsBeforeFault = kNever;
bool faultFired = false;

bool ThisAllocationFails(std::size_t size) {
    if (size > allocationLimit)
        return true;
    if (allocationsBeforeFault == kNever)
        return false;
    if (allocationsBeforeFault > 0) {
        --allocationsBeforeFault;
        return false;
    }
    allocationsBeforeFault = kNever;
    faultFired = true;
    return true;
}

}  // namespace

namespace stackmason::testing {

AllocationLimit::AllocationLimit(std::size_t bytes) { allocationLimit = bytes; }
AllocationLimit::~AllocationLimit() { allocationLimit = kNever; }

AllocationFault::AllocationFault(std::size_t failingAllocation) {
    faultFired = false;
    allocationsBeforeFault = failingAllocation == 0 ? kNever : failingAllocation - 1;
}
AllocationFault::~AllocationFault() { allocationsBeforeFault = kNever; }
bool AllocationFault::Fired() const { return faultFired; }

}  // namespace stackmason::testing

// The program's own allocator, so that the failures reach every container.
void* operator new(std::size_t size) {
    if (ThisAllocationFails(size))
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

// Arrays too: the standard library sends them through operator new, but a sanitizer's runtime
// allocates them on its own, which would let arrays pass every limit.
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// And the forms that return null instead of throwing, which std::stable_sort takes its buffer
// with: left to a sanitizer's runtime, their memory would come back through the deletes above
// and be reported as freed by the wrong function.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (ThisAllocationFails(size))
        return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

// A building's cells come from the system rather than operator new; they fail in turn with
// every other allocation all the same.
bool stackmason::CellMemoryMayBeTaken(std::size_t bytes) { return !ThisAllocationFails(bytes); }
