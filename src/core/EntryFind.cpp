#include "core/EntryFind.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

#include "core/EntryBytes.h"

namespace vxa {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::optional<std::uint64_t> Number(std::string_view s) {
    s = Trimmed(s);
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

// "1M", "100k", "2048": bytes, the suffix counting in powers of 1024.
std::optional<std::uint64_t> Size(std::string_view s) {
    s = Trimmed(s);
    const char unit =
        s.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(s.back())));
    const int shift = unit == 'k' ? 10 : unit == 'm' ? 20 : unit == 'g' ? 30 : 0;
    if (shift)
        s.remove_suffix(1);
    const auto v = Number(s);
    if (!v || *v > (UINT64_MAX >> shift))
        return std::nullopt;
    return *v << shift;
}

std::optional<FindQuery> Word(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    using By = FindQuery::By;
    const struct {
        const char* Word;
        By Kind;
        Content What;
    } kWords[] = {
        {"wav", By::Content, Content::Wav},         {"smk", By::Content, Content::Smk},
        {"xmi", By::Content, Content::Xmi},         {"packed", By::Content, Content::Packed},
        {"blank", By::Content, Content::Blank},     {"shared", By::Shared, Content::Other},
        {"replaced", By::Replaced, Content::Other},
    };
    for (const auto& w : kWords) {
        if (word == w.Word) {
            FindQuery q;
            q.Kind = w.Kind;
            q.What = w.What;
            return q;
        }
    }
    return std::nullopt;
}

// Entries the plan has a record for.
std::vector<bool> ReplacedEntries(const LoadedArchive& s, const ReplRec& plan) {
    std::vector<bool> replaced(static_cast<std::size_t>(s.Table.EntryCount));
    for (const std::int32_t i : plan.Indices) {
        if (i >= 0 && i < s.Table.EntryCount)
            replaced[static_cast<std::size_t>(i)] = true;
    }
    return replaced;
}

bool Matches(const LoadedArchive& s, KindCache& cache, const FindQuery& q,
             const std::vector<bool>& replaced, std::int32_t i) {
    const auto at = static_cast<std::size_t>(i);
    switch (q.Kind) {
        case FindQuery::By::Numbers:
            return i + 1u >= q.From && i + 1u <= q.To;
        case FindQuery::By::Content:
            return cache.content(s, i) == q.What;
        case FindQuery::By::Shared:
            return s.Table.Links[at] > 0;
        case FindQuery::By::Replaced:
            return replaced[at];
        case FindQuery::By::Larger:
            return s.Table.Links[at] >= 0 && StoredSize(s, i) > q.Size;
        case FindQuery::By::Smaller:
            return s.Table.Links[at] >= 0 && StoredSize(s, i) < q.Size;
    }
    return false;
}

}  // namespace

std::optional<FindQuery> ParseFindQuery(const std::string& text) {
    const std::string_view t = Trimmed(text);
    FindQuery q;
    if (!t.empty() && (t.front() == '>' || t.front() == '<')) {
        const auto size = Size(t.substr(1));
        if (!size)
            return std::nullopt;
        q.Kind = t.front() == '>' ? FindQuery::By::Larger : FindQuery::By::Smaller;
        q.Size = *size;
        return q;
    }
    const std::size_t dash = t.find('-');
    if (dash != std::string_view::npos) {
        const auto from = Number(t.substr(0, dash)), to = Number(t.substr(dash + 1));
        if (!from || !to || *from > *to)
            return std::nullopt;
        q.From = *from;
        q.To = *to;
        return q;
    }
    if (const auto nr = Number(t)) {
        q.From = q.To = *nr;
        return q;
    }
    return Word(std::string(t));
}

void KindCache::prepare(const LoadedArchive& s) {
    if (archive_ == s.Archive.get() && stamp_ == s.ArchiveStamp &&
        known_.size() == static_cast<std::size_t>(s.Table.EntryCount)) {
        return;
    }
    archive_ = s.Archive.get();
    stamp_ = s.ArchiveStamp;
    known_.assign(static_cast<std::size_t>(s.Table.EntryCount), 0);
}

Content KindCache::content(const LoadedArchive& s, std::int32_t entry) {
    // Shared entries are known by their owner's record.
    const std::int32_t link = s.Table.Links[static_cast<std::size_t>(entry)];
    if (link < 0)
        return Content::Blank;
    const auto owner = static_cast<std::size_t>(link > 0 ? link - 1 : entry);
    if (known_[owner] == 0)
        fill(s, static_cast<std::int32_t>(owner));
    return static_cast<Content>(known_[owner] - 1);
}

// Tells the kind of every record owner of `owner`'s group of entries not
// told yet. The groups are fixed stretches of the entry order, so a search
// in either direction fills each once. One gather read fetches the first
// bytes of every owner of the group in file order, records that follow one
// another in one read; reading each alone would cost a call to the system
// apiece. Only the few whose first bytes may be of a known kind are read
// further.
void KindCache::fill(const LoadedArchive& s, std::int32_t owner) {
    constexpr std::size_t kGroup = 8192;
    constexpr std::size_t kHead = 24;  // what telling a kind reads first
    const EntryTable& t = s.Table;
    const std::size_t first = static_cast<std::size_t>(owner) / kGroup * kGroup;
    const std::size_t end = std::min(first + kGroup, static_cast<std::size_t>(t.EntryCount));
    const std::uint64_t size = s.Archive ? s.Archive->size() : 0;
    const auto tell = [&](std::size_t i, Content c) {
        known_[i] = static_cast<std::uint8_t>(static_cast<int>(c) + 1);
    };
    std::vector<std::pair<std::uint64_t, std::uint32_t>> heads;  // where, whose
    for (std::size_t i = first; i < end; ++i) {
        if (t.Links[i] != 0)
            continue;
        const std::uint64_t from = std::uint64_t{t.Offsets[i]} + kRecordHeaderBytes;
        if (t.CompTypes[i] != 0)
            tell(i, Content::Packed);
        else if (from + kHead <= size)
            heads.push_back({from, static_cast<std::uint32_t>(i)});
        else  // at the very end of the file, or past it
            tell(i, KindOf(s, static_cast<std::int32_t>(i)).What);
    }
    if (heads.empty())
        return;
    if (!std::is_sorted(heads.begin(), heads.end()))
        std::sort(heads.begin(), heads.end());
    std::vector<std::uint64_t> positions(heads.size());
    for (std::size_t k = 0; k < heads.size(); ++k)
        positions[k] = heads[k].first;
    std::vector<char> bytes(heads.size() * kHead);
    s.Archive->readGather(positions, kHead, reinterpret_cast<std::uint8_t*>(bytes.data()));
    for (std::size_t k = 0; k < heads.size(); ++k) {
        const std::uint32_t i = heads[k].second;
        const std::size_t shown = std::min<std::size_t>(t.PackedSizes[i], kHead);
        tell(i, MayBeKnownContent(bytes.data() + k * kHead, shown)
                    ? KindOf(s, static_cast<std::int32_t>(i)).What
                    : Content::Other);
    }
}

std::optional<std::int32_t> FindEntry(const LoadedArchive& s, const ReplRec& plan, KindCache& cache,
                                      const FindQuery& q, std::int32_t from, bool back) {
    const std::int32_t n = s.Table.EntryCount;
    cache.prepare(s);
    const std::vector<bool> replaced =
        q.Kind == FindQuery::By::Replaced ? ReplacedEntries(s, plan) : std::vector<bool>{};
    const std::int64_t step = back ? n - 1 : 1;  // one back is n - 1 forward
    std::int64_t i = std::clamp<std::int64_t>(from, -1, n);
    if (i < 0 || i >= n)
        i = back ? 0 : n - 1;  // so that the first step lands on the first or last entry
    for (std::int32_t k = 0; k < n; ++k) {
        i = (i + step) % n;
        if (Matches(s, cache, q, replaced, static_cast<std::int32_t>(i)))
            return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

}  // namespace vxa
