#pragma once

#include <cstddef>
#include <utility>

namespace stackmason {

// Whether `bytes` of cell memory may be taken now. Always true in the programs; a test
// program that makes allocations fail, as a machine short of memory would, defines its own,
// as it replaces operator new, so that a building's cells fail where any other allocation
// would although they do not come from operator new.
bool CellMemoryMayBeTaken(std::size_t bytes);

// Memory for a building's cells, zeroed by the system and not by a second clear: large
// blocks are anonymous memory mapped straight from the system, whose pages are zero when
// first touched (huge ones where the system gives them to all memory); small ones come from
// calloc.
class CellMemory {
public:
    CellMemory() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit CellMemory(std::size_t bytes);
    ~CellMemory() { Release(); }
    CellMemory(const CellMemory&) = delete;
    CellMemory& operator=(const CellMemory&) = delete;
    CellMemory(CellMemory&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), bytes_(std::exchange(other.bytes_, 0)),
          mapped_(std::exchange(other.mapped_, false)) {}
    // The memory held before is given back first.
    CellMemory& operator=(CellMemory&& other) noexcept {
        if (this != &other) {
            Release();
            data_ = std::exchange(other.data_, nullptr);
            bytes_ = std::exchange(other.bytes_, 0);
            mapped_ = std::exchange(other.mapped_, false);
        }
        return *this;
    }

    void* Data() const { return data_; }
    std::size_t Bytes() const { return bytes_; }

private:
    void Release() noexcept;

    void* data_ = nullptr;
    std::size_t bytes_ = 0;
    bool mapped_ = false;
};

}  // namespace stackmason
