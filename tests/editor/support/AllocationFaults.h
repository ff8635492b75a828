#pragma once

#include <cstddef>

// Allocation failures a test controls, as a machine short of memory would produce them. The
// test program that links AllocationFaults.cpp replaces the global operator new, and the
// permission a building's cell memory asks for (CellMemoryMayBeTaken), with ones that obey these; without either object alive it allocates as usual.
namespace stackmason::testing {

// While one of these lives, every allocation larger than `bytes` throws std::bad_alloc.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

// While one of these lives, the n-th allocation from its start (1-based) throws
// std::bad_alloc, once; the others succeed. Trying n = 1, 2, 3, ... until an operation no
// longer meets the failure makes every allocation of the operation fail in turn.
class AllocationFault {
public:
    explicit AllocationFault(std::size_t failingAllocation);
    ~AllocationFault();
    AllocationFault(const AllocationFault&) = delete;
    AllocationFault& operator=(const AllocationFault&) = delete;

    // Whether the failing allocation has come.
    bool Fired() const;
};

}  // namespace stackmason::testing
