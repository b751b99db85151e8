#include "script/IniFile.h"

#include <algorithm>
#include <charconv>

namespace vxa {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\v' || ch == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names match without regard to case; only ASCII letters fold, so UTF-8
// bytes of a name compare as they are.
char Fold(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Walks the lines of a text. CR and LF each end a line, so CR LF, LF and CR
// files all read, and a CR can never hide inside a value. A byte loop: the
// lines of a damaged script may be a few bytes each, where a search call per
// line costs more than it saves.
class Lines {
  public:
    explicit Lines(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}
    bool done() const { return p_ == end_; }
    const char* here() const { return p_; }
    std::string_view next() {
        const char* start = p_;
        while (p_ != end_ && *p_ != '\n' && *p_ != '\r')
            ++p_;
        const std::string_view line(start, static_cast<std::size_t>(p_ - start));
        if (p_ != end_)
            ++p_;
        return line;
    }

  private:
    const char* p_;
    const char* end_;
};

// The name of a heading line ("[name]", blanks around it and its name
// allowed, anything after the last "]" ignored); nullopt for other lines.
std::optional<std::string_view> HeadingName(std::string_view line) {
    line = Trim(line);
    const auto close = line.rfind(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Fold(x) == Fold(y); });
}

void IniSection::find(std::span<const std::string_view> keys,
                      std::span<std::optional<std::string_view>> found) const {
    std::fill(found.begin(), found.end(), std::nullopt);
    std::size_t missing = keys.size();
    for (Lines lines(lines_); missing > 0 && !lines.done();) {
        const std::string_view line = Trim(lines.next());
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view name = Trim(line.substr(0, eq));
        if (name.empty())
            continue;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (found[k] || !SameIniName(name, keys[k]))
                continue;
            found[k] = Trim(line.substr(eq + 1)).substr(0, IniReader::kMaxValue);
            --missing;
        }
    }
}

IniReader::IniReader(std::string_view text) : text_(text) {
    if (text_.starts_with(kUtf8Bom))
        text_.remove_prefix(kUtf8Bom.size());
}

void IniReader::forEachSection(
    const std::function<bool(std::string_view name, const IniSection& lines)>& visit) const {
    std::optional<std::string_view> open;  // the name of the section being passed over
    const char* body = nullptr;
    for (Lines lines(text_); !lines.done();) {
        const char* start = lines.here();
        const auto name = HeadingName(lines.next());
        if (!name)
            continue;
        if (open && !visit(*open, IniSection({body, static_cast<std::size_t>(start - body)})))
            return;
        open = name;
        body = lines.here();
    }
    if (open)
        visit(*open,
              IniSection({body, static_cast<std::size_t>(text_.data() + text_.size() - body)}));
}

std::optional<IniSection> IniReader::section(std::string_view name) const {
    std::optional<IniSection> found;
    forEachSection([&](std::string_view heading, const IniSection& lines) {
        if (SameIniName(heading, name))
            found = lines;
        return !found;
    });
    return found;
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars would accept a second sign here; digits only from now on.
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;

    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    if (magnitude > limit)
        return std::nullopt;
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

void IniWriter::section(std::string_view name) {
    text_ += '[';
    text_ += name;
    text_ += "]\r\n";
}

void IniWriter::value(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += '=';
    text_ += value;
    text_ += "\r\n";
}

void IniWriter::value(std::string_view key, std::int64_t value) {
    this->value(key, std::to_string(value));
}

}  // namespace vxa
