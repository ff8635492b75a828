#pragma once

#include <optional>

namespace orbitscope {

// Steps 0 -> 1 -> 2 -> -1 -> 0 ...; each step says which render mode to set, if any.
class RenderModeCounter {
public:
    std::optional<int> Step();
    int Value() const { return counter_; }

private:
    int counter_ = 0;
};

}  // namespace orbitscope
