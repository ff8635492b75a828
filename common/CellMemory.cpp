#include "common/CellMemory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace stackmason {
namespace {

// Below this a mapping of its own would waste most of a page and cost a system call for
// each of the many small buildings the editor's commands make.
constexpr std::size_t kMappedFrom = 1 << 20;

}  // namespace

__attribute__((weak)) bool CellMemoryMayBeTaken(std::size_t) { return true; }

CellMemory::CellMemory(std::size_t bytes) {
    if (!CellMemoryMayBeTaken(bytes))
        throw std::bad_alloc();
    if (bytes >= kMappedFrom) {
        void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        // Cells are written in long sequential sweeps soon after they are taken, so the
        // mapping asks for huge pages and takes all its pages at once: one system call instead
        // of a fault per 4 KB page, which made up half the time of loading the largest
        // building. Both are hints; where they are refused, pages still come on first touch.
        ::madvise(mapped, bytes, MADV_HUGEPAGE);
        ::madvise(mapped, bytes, MADV_POPULATE_WRITE);
        data_ = mapped;
        mapped_ = true;
    } else {
        data_ = std::calloc(bytes == 0 ? 1 : bytes, 1);
        if (data_ == nullptr)
            throw std::bad_alloc();
    }
    bytes_ = bytes;
}

void CellMemory::Release() noexcept {
    // Given back at once, not kept for the next building: a spare building's worth of memory
    // would be held on top of the history's budget for as long as the editor runs.
    if (mapped_)
        ::munmap(data_, bytes_);
    else
        std::free(data_);
    data_ = nullptr;
    bytes_ = 0;
    mapped_ = false;
}

}  // namespace stackmason
