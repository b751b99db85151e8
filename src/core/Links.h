#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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

// An entry that owns its record, and the record's offset (its table value).
struct Record {
    std::uint32_t Value;
    std::uint32_t Entry;
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

// Inline: the header pass asks for every record, a million for a big
// archive.
inline std::optional<Record> RecordOrder::next() {
    // The list may name the end marker, which is no entry.
    while (k_ < later_->size() && (*later_)[k_].Entry >= count_)
        ++k_;
    const bool haveRising = rising_ < count_;
    const bool haveLater = k_ < later_->size();
    if (!haveRising && !haveLater)
        return std::nullopt;
    // No two owners share a value, so the smaller value goes first.
    if (haveRising && (!haveLater || (*values_)[rising_] < (*later_)[k_].Value)) {
        const Record record{(*values_)[rising_], static_cast<std::uint32_t>(rising_)};
        max_ = record.Value;
        ++rising_;
        findRising();
        return record;
    }
    return (*later_)[k_++];
}

inline void RecordOrder::findRising() {
    while (rising_ < count_ && (*values_)[rising_] <= max_)
        ++rising_;
}

}  // namespace vxa
