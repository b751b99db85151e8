#include "core/Links.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace vxa {

namespace {

constexpr std::size_t kSlice = std::size_t{1} << 16;

// Runs body(i) for i from 0 to n - 1, calling `pause` after every slice but
// the last.
template <class Body>
void Sliced(std::size_t n, const Pause& pause, Body&& body) {
    for (std::size_t from = 0; from < n;) {
        const std::size_t to = std::min(n, from + kSlice);
        for (std::size_t i = from; i < to; ++i)
            body(i);
        from = to;
        if (pause && from < n)
            pause();
    }
}

// Sorts `index` by values[index[k]], keeping equal values in their order,
// and returns the sorted values.
// An LSD radix sort over the bits that `maxValue` needs, with digits of at
// most 11 bits so the counters stay in the first-level cache. The values
// travel with their indices, so no pass reads the table at random.
std::vector<std::uint32_t> SortByValue(const std::vector<std::uint32_t>& values,
                                       std::vector<std::uint32_t>& index, std::uint32_t maxValue,
                                       const Pause& pause) {
    constexpr int kMaxDigit = 11;
    std::vector<std::uint32_t> key;
    key.reserve(index.size());
    Sliced(index.size(), pause, [&](std::size_t k) { key.push_back(values[index[k]]); });
    const int bits = std::bit_width(maxValue);
    const int passes = (bits + kMaxDigit - 1) / kMaxDigit;
    if (passes == 0 || index.size() < 2)
        return key;
    const int digit = (bits + passes - 1) / passes;
    const std::uint32_t mask = (1u << digit) - 1;
    std::vector<std::uint32_t> keyOut, indexOut;
    ResizeInSlices(keyOut, index.size(), 0u, pause);
    ResizeInSlices(indexOut, index.size(), 0u, pause);
    std::vector<std::uint32_t> start(std::size_t{1} << digit);
    for (int shift = 0; shift < passes * digit; shift += digit) {
        std::fill(start.begin(), start.end(), 0);
        Sliced(key.size(), pause, [&](std::size_t k) { ++start[(key[k] >> shift) & mask]; });
        std::uint32_t sum = 0;
        for (std::uint32_t& s : start)
            sum += std::exchange(s, sum);
        Sliced(key.size(), pause, [&](std::size_t k) {
            const std::uint32_t to = start[(key[k] >> shift) & mask]++;
            keyOut[to] = key[k];
            indexOut[to] = index[k];
        });
        if (pause)
            pause();
        key.swap(keyOut);
        index.swap(indexOut);
    }
    return key;
}

}  // namespace

// A first pass finds the entries whose value is larger than every earlier one
// (in an archive written in entry order, every entry that owns its record).
// Such a "record" entry is the first with its value, and the record values
// rise with the index. Every other non-blank entry whose value is a record
// value (in such an archive, every shared entry) links to that record, found
// by a binary search among them; it is always the earlier entry. Only the
// rest, entries whose records lie out of order and whatever shares those,
// are sorted by value, and link to the first of their run of equal values.
// At most four bytes a value beyond the links while the records are
// searched, sixteen while the rest is sorted, and no allocation is larger
// than the table.
std::vector<std::uint32_t> ComputeLinks(const std::vector<std::uint32_t>& values,
                                        std::vector<std::int32_t>& links, const Pause& pause) {
    ResizeInSlices(links, values.size(), -1, pause);
    std::uint32_t max = 0;
    std::size_t records = 0, restCount = 0;
    Sliced(values.size(), pause, [&](std::size_t i) {
        const std::uint32_t v = values[i];
        if (v > max) {
            max = v;
            links[i] = 0;
            ++records;
        } else if (v != 0) {
            ++restCount;
        }
    });
    if (restCount == 0)
        return {};
    if (pause)
        pause();
    {
        // The record entries, in index order and so by value, for the search.
        std::vector<std::uint32_t> recordEntries;
        recordEntries.reserve(records);
        Sliced(values.size(), pause, [&](std::size_t i) {
            if (links[i] == 0)
                recordEntries.push_back(static_cast<std::uint32_t>(i));
        });
        restCount = 0;
        Sliced(values.size(), pause, [&](std::size_t i) {
            const std::uint32_t v = values[i];
            if (v == 0 || links[i] == 0)
                return;
            const auto at = std::lower_bound(recordEntries.begin(), recordEntries.end(), v,
                                             [&values](std::uint32_t entry, std::uint32_t value) {
                                                 return values[entry] < value;
                                             });
            if (at != recordEntries.end() && values[*at] == v) {
                links[i] = static_cast<std::int32_t>(*at) + 1;
            } else {
                ++restCount;
            }
        });
    }
    if (restCount == 0)
        return {};
    if (pause)
        pause();
    // Counted first, so that the list never grows past its final size.
    std::vector<std::uint32_t> rest;
    rest.reserve(restCount);
    Sliced(values.size(), pause, [&](std::size_t i) {
        if (values[i] != 0 && links[i] == -1)
            rest.push_back(static_cast<std::uint32_t>(i));
    });
    if (pause)
        pause();
    const std::vector<std::uint32_t> sorted = SortByValue(values, rest, max, pause);

    // The first entry of each run of equal values owns the record; the
    // owners are moved to the front of `rest`, which stays sorted: it is read
    // no further back than it is written.
    std::size_t owners = 0;
    std::uint32_t previous = 0;  // rest[k - 1] as it was
    Sliced(rest.size(), pause, [&](std::size_t k) {
        const std::uint32_t i = rest[k];
        if (k > 0 && sorted[k - 1] == sorted[k]) {
            links[i] =
                links[previous] == 0 ? static_cast<std::int32_t>(previous) + 1 : links[previous];
        } else {
            links[i] = 0;
            rest[owners++] = i;
        }
        previous = i;
    });
    rest.resize(owners);
    // A much shorter list is worth a copy that frees the rest.
    if (owners < rest.capacity() / 2)
        rest.shrink_to_fit();
    return rest;
}

std::optional<std::uint32_t> RecordOrder::next() {
    // The list may name the end marker, which is no entry.
    while (k_ < later_->size() && (*later_)[k_] >= count_)
        ++k_;
    const bool haveRising = rising_ < count_;
    const bool haveLater = k_ < later_->size();
    if (!haveRising && !haveLater)
        return std::nullopt;
    // No two owners share a value, so the smaller value goes first.
    if (haveRising && (!haveLater || (*values_)[rising_] < (*values_)[(*later_)[k_]])) {
        const auto entry = static_cast<std::uint32_t>(rising_);
        max_ = (*values_)[rising_++];
        findRising();
        return entry;
    }
    return (*later_)[k_++];
}

void RecordOrder::findRising() {
    while (rising_ < count_ && (*values_)[rising_] <= max_)
        ++rising_;
}

}  // namespace vxa
