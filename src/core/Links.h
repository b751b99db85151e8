#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

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
    while (v.size() < n) {
        if (!v.empty() && pause)
            pause();
        v.resize(std::min(n, v.size() + kSliceBytes / sizeof(T)), value);
    }
}

// An entry that owns its record, and the record's offset (its table value).
struct Record {
    std::uint32_t value;
    std::uint32_t entry;
};

// Links of the offset table values: -1 for a blank value (0), 0 for the
// first entry with its value, and k for a later entry whose value entry k
// (1-based) had first. Linear in the number of values for an archive whose
// records lie in entry order; in any order, a radix sort of the values.
// The work is done in slices, with a call of `pause` between two of them.
// Returns the entries with link 0 whose value is smaller than an earlier
// entry's, with their values, in ascending order of value: none for an
// archive written in entry order. RecordOrder merges them with the others.
std::vector<Record> ComputeLinks(const std::vector<std::uint32_t>& values,
                                 std::vector<std::int32_t>& links, const Pause& pause = {});

// Walks the entries with link 0 among the first `count` values in ascending
// order of value, that is the records in file order: the entries whose value
// is larger than every earlier one (all of them, in an archive written in
// entry order), merged with the list ComputeLinks returned. No more memory
// than that list; a copy is a look-ahead. The list carries the values of its
// entries, so a walk reads the table only in entry order: looking them up
// would cost a cache miss an entry in a shuffled archive.
class RecordOrder {
  public:
    RecordOrder(const std::vector<std::uint32_t>& values, std::size_t count,
                const std::vector<Record>& outOfOrder)
        : values_(&values), count_(count), later_(&outOfOrder) {
        findRising();
    }
    // The next record, none at the end.
    std::optional<Record> next();

  private:
    void findRising();

    const std::vector<std::uint32_t>* values_;
    std::size_t count_;
    const std::vector<Record>* later_;
    std::size_t rising_ = 0;  // the next entry above all before it, or count_
    std::uint32_t max_ = 0;   // the largest value before rising_
    std::size_t k_ = 0;       // the next of later_
};

}  // namespace vxa
