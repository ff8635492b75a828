#include "preview/app/RenderModeCounter.h"

namespace orbitscope {

std::optional<int> RenderModeCounter::Step() {
    ++counter_;
    std::optional<int> mode;
    if (counter_ >= 0 && counter_ <= 2)
        mode = counter_;
    if (counter_ == 2)
        counter_ = -1;
    return mode;
}

}  // namespace orbitscope
