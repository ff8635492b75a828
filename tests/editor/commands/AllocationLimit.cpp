#include "AllocationLimit.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::size_t allocationLimit = std::numeric_limits<std::size_t>::max();

}  // namespace

namespace stackmason::testing {

AllocationLimit::AllocationLimit(std::size_t bytes) { allocationLimit = bytes; }
AllocationLimit::~AllocationLimit() { allocationLimit = std::numeric_limits<std::size_t>::max(); }

}  // namespace stackmason::testing

// The program's own allocator, so that the limit above reaches every container.
void* operator new(std::size_t size) {
    if (size > allocationLimit)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
