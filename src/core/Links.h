#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/io/HugePages.h"

namespace vxa {

// Called between the slices of a long pass that has no progress points of
// its own, so that the window may hand events to the toolkit meanwhile.
using Pause = std::function<void()>;

// Makes `v` hold `n` copies of `value`, a slice at a time with a call of
// `pause` between slices: touching a big array's memory for the first time
// is the slow part of making it.
template <class T>
void ResizeInSlices(std::vector<T>& v, std::size_t n, const T& value, const Pause& pause) {
    constexpr std::size_t kSliceBytes = std::size_t{1} << 18;
    v.clear();
    v.reserve(n);
    AdviseHugePages(v.data(), n * sizeof(T));
    while (v.size() < n) {
        if (!v.empty() && pause)
            pause();
        v.resize(std::min(n, v.size() + kSliceBytes / sizeof(T)), value);
    }
}

// An entry and its table value, the offset of the record it names.
struct Record {
    std::uint32_t Value;
    std::uint32_t Entry;
};

// Links of the offset table values: -1 for a blank value (0), 0 for the
// first entry with its value, and k for a later entry whose value entry k
// (1-based) had first. Linear in the number of values for an archive whose
// records lie in entry order; in any order, a radix sort of the values.
// The work is done in slices, with a call of `pause` between two of them.
void ComputeLinks(const std::vector<std::uint32_t>& values, std::vector<std::int32_t>& links,
                  const Pause& pause = {});

}  // namespace vxa
