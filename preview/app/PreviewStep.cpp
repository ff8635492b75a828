#include "preview/app/PreviewStep.h"

namespace orbitscope {

thread_local volatile std::sig_atomic_t PreviewStep = 0;

}  // namespace orbitscope
