#include "Links.h"

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
    std::vector<std::uint32_t> key(index.size());
    Sliced(index.size(), pause, [&](std::size_t k) { key[k] = values[index[k]]; });
    const int bits = std::bit_width(maxValue);
    const int passes = (bits + kMaxDigit - 1) / kMaxDigit;
    if (passes == 0 || index.size() < 2)
        return key;
    const int digit = (bits + passes - 1) / passes;
    const std::uint32_t mask = (1u << digit) - 1;
    std::vector<std::uint32_t> keyOut(index.size()), indexOut(index.size());
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
// rise with the index. The other non-blank entries, few in such an archive,
// are sorted by value and merged with the records in one more walk over the
// table: an entry whose value is a record value links to that entry, which
// is always the earlier one; the rest link to the first of their own run of
// equal values. No allocation is larger than the table.
void ComputeLinks(const std::vector<std::uint32_t>& values, std::vector<std::int32_t>& links,
                  const Pause& pause) {
    links.assign(values.size(), -1);
    std::uint32_t max = 0;
    std::size_t restCount = 0;
    Sliced(values.size(), pause, [&](std::size_t i) {
        const std::uint32_t v = values[i];
        if (v > max) {
            max = v;
            links[i] = 0;
        } else if (v != 0) {
            ++restCount;
        }
    });
    if (restCount == 0)
        return;
    if (pause)
        pause();
    // Counted first, so that the list never grows past its final size.
    std::vector<std::uint32_t> rest(restCount);
    restCount = 0;
    Sliced(values.size(), pause, [&](std::size_t i) {
        if (values[i] != 0 && links[i] != 0)
            rest[restCount++] = static_cast<std::uint32_t>(i);
    });
    if (pause)
        pause();
    const std::vector<std::uint32_t> sorted = SortByValue(values, rest, max, pause);

    // `record` walks the record entries in index order, and so by value.
    std::size_t record = 0;
    std::uint32_t before = 0;  // the largest value below index `record`
    const auto nextRecord = [&] {
        while (record < values.size() && values[record] <= before)
            ++record;
    };
    nextRecord();
    Sliced(rest.size(), pause, [&](std::size_t k) {
        const std::uint32_t i = rest[k];
        const std::uint32_t v = sorted[k];
        while (record < values.size() && values[record] < v) {
            before = values[record];
            nextRecord();
        }
        if (record < values.size() && values[record] == v) {
            links[i] = static_cast<std::int32_t>(record) + 1;
        } else if (k > 0 && sorted[k - 1] == v) {
            const std::uint32_t prev = rest[k - 1];
            links[i] = links[prev] == 0 ? static_cast<std::int32_t>(prev) + 1 : links[prev];
        } else {
            links[i] = 0;
        }
    });
}

}  // namespace vxa
