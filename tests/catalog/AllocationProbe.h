// Watches the sizes passed to operator new (replaced for the whole test program), to show that a
// size read from damaged data is checked before anything is allocated for it.
#pragma once

#include <cstddef>

namespace testing_support {

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // The largest single allocation since construction.
    std::size_t Largest() const;
};

} // namespace testing_support
