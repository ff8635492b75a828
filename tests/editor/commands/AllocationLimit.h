#pragma once

#include <cstddef>

namespace stackmason::testing {

// While one of these lives, every allocation larger than `bytes` in this test program throws
// std::bad_alloc, as a machine short of memory would.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace stackmason::testing
