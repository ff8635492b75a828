#include "common/CellMemory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <mutex>
#include <new>

namespace stackmason {
namespace {

// Below this a mapping of its own would waste most of a page and cost a system call for
// each of the many small buildings the editor's commands make.
constexpr std::size_t kMappedFrom = 1 << 20;

// The mapping of the building given back last, kept for the next building of the same size.
// The editor replaces a building by one of the same size again and again (New, loads, and
// the history dropping its oldest building as each new one comes), and clearing memory the
// process already holds costs a fraction of what fresh pages cost, which the system must
// find, zero and, in a virtual machine, often fault in from the host first.
class SpareMapping {
public:
    // The spare mapping of exactly `bytes`, cleared, or null.
    void* Take(std::size_t bytes) {
        void* taken = nullptr;
        {
            const std::lock_guard lock(mutex_);
            if (data_ == nullptr || bytes_ != bytes)
                return nullptr;
            taken = std::exchange(data_, nullptr);
        }
        std::memset(taken, 0, bytes);
        return taken;
    }
    // Keeps the mapping as the spare, giving back the one kept before.
    void Keep(void* data, std::size_t bytes) noexcept {
        void* old = nullptr;
        std::size_t oldBytes = 0;
        {
            const std::lock_guard lock(mutex_);
            old = std::exchange(data_, data);
            oldBytes = std::exchange(bytes_, bytes);
        }
        if (old != nullptr)
            ::munmap(old, oldBytes);
    }

private:
    std::mutex mutex_;
    void* data_ = nullptr;
    std::size_t bytes_ = 0;
};

SpareMapping& Spare() {
    // No building outlives main, and the spare itself goes with the process.
    static SpareMapping spare;
    return spare;
}

}  // namespace

__attribute__((weak)) bool CellMemoryMayBeTaken(std::size_t) { return true; }

CellMemory::CellMemory(std::size_t bytes) {
    if (!CellMemoryMayBeTaken(bytes))
        throw std::bad_alloc();
    if (bytes >= kMappedFrom) {
        if (void* spare = Spare().Take(bytes)) {
            data_ = spare;
            bytes_ = bytes;
            mapped_ = true;
            return;
        }
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
    if (mapped_)
        Spare().Keep(data_, bytes_);
    else
        std::free(data_);
    data_ = nullptr;
    bytes_ = 0;
    mapped_ = false;
}

}  // namespace stackmason
