#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vxa {

// Called between the slices of a long pass that has no progress points of
// its own, so that the window may hand events to the toolkit meanwhile.
using Pause = std::function<void()>;

// Links of the offset table values: -1 for a blank value (0), 0 for the
// first entry with its value, and k for a later entry whose value entry k
// (1-based) had first. Linear in the number of values for an archive whose
// records lie in entry order; in any order, a radix sort of the values.
// The work is done in slices, with a call of `pause` between two of them.
void ComputeLinks(const std::vector<std::uint32_t>& values, std::vector<std::int32_t>& links,
                  const Pause& pause = {});

}  // namespace vxa
