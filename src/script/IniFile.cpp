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
std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return out;
}

}  // namespace

IniReader::IniReader(std::string_view text) {
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    Section* current = nullptr;  // keys before the first section belong to none
    while (!text.empty()) {
        // CR and LF each end a line, so CR LF, LF and CR files all read, and a
        // CR can never hide inside a value.
        const auto eol = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        line = Trim(line);

        const auto close = line.rfind(']');
        if (line.starts_with('[') && close != std::string_view::npos) {
            std::string name = Lower(Trim(line.substr(1, close - 1)));
            sections_.emplace_back();
            current = &sections_.back();
            byName_.try_emplace(std::move(name), sections_.size() - 1);
            continue;
        }
        const auto eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, eq));
        if (key.empty())
            continue;
        current->keys.emplace_back(Lower(key), std::string(Trim(line.substr(eq + 1))));
    }
}

std::optional<std::string> IniReader::value(std::string_view section, std::string_view key) const {
    const auto it = byName_.find(Lower(section));
    if (it == byName_.end())
        return std::nullopt;
    const std::string wanted = Lower(key);
    for (const auto& [k, v] : sections_[it->second].keys) {
        if (k == wanted)
            return v.substr(0, kMaxValue);
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
