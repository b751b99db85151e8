#include "IniFile.h"

#include <algorithm>
#include <charconv>

namespace vxa {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// Names match without regard to case; only ASCII letters fold, so UTF-8
// bytes of a name compare as they are.
char Fold(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        ch = Fold(ch);
    return out;
}

// Takes the next line off `rest`. CR and LF each end a line, so CR LF, LF and
// CR files all read, and a CR can never hide inside a value.
std::string_view NextLine(std::string_view& rest) {
    const auto eol = rest.find_first_of("\r\n");
    const std::string_view line = rest.substr(0, eol);
    rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
    return line;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Fold(x) == Fold(y); });
}

}  // namespace

IniReader::IniReader(std::string_view text) {
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    text_ = text;
    Body* open = nullptr;  // the section whose lines are being passed over
    std::string_view rest = text_;
    while (!rest.empty()) {
        const std::size_t start = text_.size() - rest.size();
        const std::string_view line = Trim(NextLine(rest));
        const auto close = line.rfind(']');
        if (!line.starts_with('[') || close == std::string_view::npos)
            continue;
        if (open != nullptr)
            open->end = start;
        // Keys before the first heading belong to no section, and a later
        // section of a name already seen is never read.
        const std::size_t begin = text_.size() - rest.size();
        const auto [it, added] =
            byName_.try_emplace(Lower(Trim(line.substr(1, close - 1))), Body{begin, begin});
        open = added ? &it->second : nullptr;
    }
    if (open != nullptr)
        open->end = text_.size();
}

std::optional<std::string> IniReader::value(std::string_view section, std::string_view key) const {
    const auto it = byName_.find(Lower(section));
    if (it == byName_.end())
        return std::nullopt;
    std::string_view rest(text_.data() + it->second.begin, it->second.end - it->second.begin);
    while (!rest.empty()) {
        const std::string_view line = Trim(NextLine(rest));
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view name = Trim(line.substr(0, eq));
        if (!name.empty() && SameIgnoringCase(name, key))
            return std::string(Trim(line.substr(eq + 1)).substr(0, kMaxValue));
    }
    return std::nullopt;
}

std::string IniReader::readString(std::string_view section, std::string_view key,
                                  const std::string& def) const {
    return value(section, key).value_or(def);
}

std::int32_t IniReader::readInteger(std::string_view section, std::string_view key,
                                    std::int32_t def) const {
    const auto text = value(section, key);
    if (!text)
        return def;
    return ParseIniInteger(*text).value_or(def);
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
