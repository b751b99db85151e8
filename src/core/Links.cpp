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

// Sorts the entries of `index` by their value, keeping equal values in
// their order, and returns them as value << 32 | entry; `index` is released.
// An LSD radix sort over the bits that `maxValue` needs, with digits of at
// most 13 bits: the counters (32 KiB) stay in the first-level cache, and an
// archive under 64 MiB takes two passes instead of three. A value and its
// entry travel as one word, so a pass writes one stream for each digit
// value, and no pass reads the table at random.
std::vector<std::uint64_t> SortByValue(const std::vector<std::uint32_t>& values,
                                       std::vector<std::uint32_t>& index, std::uint32_t maxValue,
                                       const Pause& pause) {
    constexpr int kMaxDigit = 13;
    std::vector<std::uint64_t> word;
    word.reserve(index.size());
    Sliced(index.size(), pause, [&](std::size_t k) {
        word.push_back(std::uint64_t{values[index[k]]} << 32 | index[k]);
    });
    index = {};
    const int bits = std::bit_width(maxValue);
    const int passes = (bits + kMaxDigit - 1) / kMaxDigit;
    if (passes == 0 || word.size() < 2)
        return word;
    const int digit = (bits + passes - 1) / passes;
    const std::uint64_t mask = (std::uint64_t{1} << digit) - 1;
    std::vector<std::uint64_t> out;
    ResizeInSlices(out, word.size(), std::uint64_t{0}, pause);
    std::vector<std::uint32_t> start(std::size_t{1} << digit);
    for (int shift = 32; shift < 32 + passes * digit; shift += digit) {
        std::fill(start.begin(), start.end(), 0);
        Sliced(word.size(), pause, [&](std::size_t k) { ++start[(word[k] >> shift) & mask]; });
        std::uint32_t sum = 0;
        for (std::uint32_t& s : start)
            sum += std::exchange(s, sum);
        Sliced(word.size(), pause,
               [&](std::size_t k) { out[start[(word[k] >> shift) & mask]++] = word[k]; });
        if (pause)
            pause();
        word.swap(out);
    }
    return word;
}

// Links every non-blank entry whose value one of the `records` record
// entries (link 0) has to that record, by a binary search among them; returns
// how many are left unlinked.
std::size_t LinkToRecords(const std::vector<std::uint32_t>& values,
                          std::vector<std::int32_t>& links, std::size_t records,
                          const Pause& pause) {
    // The record entries, in index order and so by value, for the search.
    std::vector<std::uint32_t> recordEntries;
    recordEntries.reserve(records);
    Sliced(values.size(), pause, [&](std::size_t i) {
        if (links[i] == 0)
            recordEntries.push_back(static_cast<std::uint32_t>(i));
    });
    std::size_t left = 0;
    Sliced(values.size(), pause, [&](std::size_t i) {
        const std::uint32_t v = values[i];
        if (v == 0 || links[i] == 0)
            return;
        const auto at = std::lower_bound(
            recordEntries.begin(), recordEntries.end(), v,
            [&values](std::uint32_t entry, std::uint32_t value) { return values[entry] < value; });
        if (at != recordEntries.end() && values[*at] == v) {
            links[i] = static_cast<std::int32_t>(*at) + 1;
        } else {
            ++left;
        }
    });
    return left;
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
// Where the records are fewer than the rest (a shuffled archive has about
// ln N of them), they are sorted along instead of searched: that costs a few
// more values to sort, not a search for every one.
// At most four bytes a value beyond the links while the records are
// searched, sixteen while the rest is sorted, and no allocation is larger
// than the table.
std::vector<Record> ComputeLinks(const std::vector<std::uint32_t>& values,
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
    const bool search = records >= restCount;
    if (search) {
        restCount = LinkToRecords(values, links, records, pause);
        if (restCount == 0)
            return {};
        if (pause)
            pause();
    } else {
        restCount += records;
    }
    // Counted first, so that the list never grows past its final size.
    std::vector<std::uint32_t> rest;
    rest.reserve(restCount);
    Sliced(values.size(), pause, [&](std::size_t i) {
        if (values[i] != 0 && (links[i] == -1 || !search))
            rest.push_back(static_cast<std::uint32_t>(i));
    });
    if (pause)
        pause();
    std::vector<std::uint64_t> sorted = SortByValue(values, rest, max, pause);

    // The first entry of each run of equal values owns the record; the
    // owners are moved to the front of `sorted`, which stays sorted: it is
    // read no further back than it is written. A record entry sorted along is
    // first of its run and stays out of the list: RecordOrder finds it by
    // itself.
    std::size_t owners = 0;
    std::uint32_t previous = 0;  // the entry of sorted[k - 1] as it was
    Sliced(sorted.size(), pause, [&](std::size_t k) {
        const std::uint64_t word = sorted[k];
        const auto i = static_cast<std::uint32_t>(word);
        if (k > 0 && (sorted[k - 1] >> 32) == (word >> 32)) {
            links[i] =
                links[previous] == 0 ? static_cast<std::int32_t>(previous) + 1 : links[previous];
        } else if (links[i] != 0) {
            links[i] = 0;
            sorted[owners++] = word;
        }
        previous = i;
    });
    std::vector<Record> out(owners);
    Sliced(owners, pause, [&](std::size_t k) {
        out[k] = {static_cast<std::uint32_t>(sorted[k] >> 32),
                  static_cast<std::uint32_t>(sorted[k])};
    });
    return out;
}

std::optional<Record> RecordOrder::next() {
    // The list may name the end marker, which is no entry.
    while (k_ < later_->size() && (*later_)[k_].entry >= count_)
        ++k_;
    const bool haveRising = rising_ < count_;
    const bool haveLater = k_ < later_->size();
    if (!haveRising && !haveLater)
        return std::nullopt;
    // No two owners share a value, so the smaller value goes first.
    if (haveRising && (!haveLater || (*values_)[rising_] < (*later_)[k_].value)) {
        const Record record{(*values_)[rising_], static_cast<std::uint32_t>(rising_)};
        max_ = record.value;
        ++rising_;
        findRising();
        return record;
    }
    return (*later_)[k_++];
}

void RecordOrder::findRising() {
    while (rising_ < count_ && (*values_)[rising_] <= max_)
        ++rising_;
}

}  // namespace vxa
