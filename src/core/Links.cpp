#include "core/Links.h"

#include <algorithm>
#include <bit>
#include <memory>
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

// The digits of an LSD radix sort over the bits that the largest value
// needs, of at most 13 bits: the counters (32 KiB a digit) stay in the
// first-level cache, and an archive under 64 MiB takes two passes instead of
// three.
struct Digits {
    static constexpr int kMaxBits = 13;
    int Passes = 0;
    int Bits = 0;
    explicit Digits(std::uint32_t maxValue) {
        const int all = std::bit_width(maxValue);
        Passes = (all + kMaxBits - 1) / kMaxBits;
        Bits = Passes == 0 ? 0 : (all + Passes - 1) / Passes;
    }
    std::uint32_t of(std::uint32_t value, int pass) const {
        return value >> (pass * Bits) & ((std::uint32_t{1} << Bits) - 1);
    }
};

// Sorts `records` by value, keeping equal values in their order, given
// `counts`, how many records have each value of each digit. A record is a
// value and its entry in one word, so that a pass writes one stream for each
// digit value and no pass reads the table at random. The buffer a pass
// writes into is left for the pass to fill, not cleared first.
void SortByValue(std::vector<Record>& records, const Digits& digits,
                 std::vector<std::uint32_t>& counts, const Pause& pause) {
    const std::size_t n = records.size();
    const std::size_t width = std::size_t{1} << digits.Bits;
    if (digits.Passes == 0 || n < 2)
        return;
    const auto spare = std::make_unique_for_overwrite<Record[]>(n);
    AdviseHugePages(spare.get(), n * sizeof(Record));
    Record* from = records.data();
    Record* to = spare.get();
    for (int pass = 0; pass < digits.Passes; ++pass) {
        std::uint32_t* start = counts.data() + static_cast<std::size_t>(pass) * width;
        std::uint32_t sum = 0;
        for (std::size_t d = 0; d < width; ++d)
            sum += std::exchange(start[d], sum);
        Sliced(n, pause,
               [&](std::size_t k) { to[start[digits.of(from[k].Value, pass)]++] = from[k]; });
        if (pause)
            pause();
        std::swap(from, to);
    }
    if (from != records.data())
        std::copy(from, from + n, records.data());
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
void ComputeLinks(const std::vector<std::uint32_t>& values, std::vector<std::int32_t>& links,
                  const Pause& pause) {
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
        return;
    if (pause)
        pause();
    const bool search = records >= restCount;
    if (search) {
        restCount = LinkToRecords(values, links, records, pause);
        if (restCount == 0)
            return;
        if (pause)
            pause();
    } else {
        restCount += records;
    }
    // Counted first, so that the list never grows past its final size; the
    // digits of every pass of the sort are counted on the way.
    const Digits digits(max);
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(digits.Passes) << digits.Bits);
    std::vector<Record> sorted;
    sorted.reserve(restCount);
    AdviseHugePages(sorted.data(), restCount * sizeof(Record));
    // Each of them is taken as the owner of its record until the sort finds
    // an earlier entry with its value, so that the links of the usual case,
    // no value shared, are written here in order rather than at random
    // after the sort.
    Sliced(values.size(), pause, [&](std::size_t i) {
        const std::uint32_t v = values[i];
        if (v == 0 || (links[i] != -1 && search))
            return;
        links[i] = 0;
        sorted.push_back({v, static_cast<std::uint32_t>(i)});
        for (int pass = 0; pass < digits.Passes; ++pass)
            ++counts[(static_cast<std::size_t>(pass) << digits.Bits) + digits.of(v, pass)];
    });
    if (pause)
        pause();
    SortByValue(sorted, digits, counts, pause);

    // The first entry of each run of equal values owns the record; a later
    // one links to it.
    std::uint32_t first = 0;  // the owner of the run of sorted[k]
    Sliced(sorted.size(), pause, [&](std::size_t k) {
        const Record r = sorted[k];
        if (k > 0 && sorted[k - 1].Value == r.Value) {
            links[r.Entry] = static_cast<std::int32_t>(first) + 1;
        } else {
            first = r.Entry;
        }
    });
}

}  // namespace vxa
