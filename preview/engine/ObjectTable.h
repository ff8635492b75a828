#pragma once

#include <memory>
#include <vector>

namespace orbitscope::engine {

// Objects addressed by small numbers; a number can be reused once its object is freed.
template <class T>
class ObjectTable {
public:
    T& Create(int number) {
        if (number < 0)
            number = 0;
        if (static_cast<std::size_t>(number) >= slots_.size())
            slots_.resize(static_cast<std::size_t>(number) + 1);
        slots_[static_cast<std::size_t>(number)] = std::make_shared<T>();
        return *slots_[static_cast<std::size_t>(number)];
    }
    std::shared_ptr<T> Find(int number) const {
        if (number < 0 || static_cast<std::size_t>(number) >= slots_.size())
            return nullptr;
        return slots_[static_cast<std::size_t>(number)];
    }
    // The object without sharing it, for hot paths; valid while it is not freed or replaced.
    T* Get(int number) const {
        if (number < 0 || static_cast<std::size_t>(number) >= slots_.size())
            return nullptr;
        return slots_[static_cast<std::size_t>(number)].get();
    }
    void Free(int number) {
        if (number >= 0 && static_cast<std::size_t>(number) < slots_.size())
            slots_[static_cast<std::size_t>(number)].reset();
    }
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& slot : slots_)
            if (slot)
                f(*slot);
    }
    void Clear() { slots_.clear(); }

private:
    std::vector<std::shared_ptr<T>> slots_;
};

}  // namespace orbitscope::engine
