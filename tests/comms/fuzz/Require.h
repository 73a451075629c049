// A fuzz target's check: a broken promise aborts, so the fuzzer (or the replay test) sees it.
#pragma once

#include <cstdlib>

namespace comms_fuzz {

inline void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace comms_fuzz
