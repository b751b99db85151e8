#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vxa {

// The lines of one section of initialisation-file text, from the line after
// its heading up to the next heading.
class IniSection {
  public:
    explicit IniSection(std::string_view lines = {}) : lines_(lines) {}

    // The values of several keys in one pass over the lines, as views of the
    // text. found[k] is the value of keys[k]: everything after the first "="
    // of the first line that names it (names match without regard to case),
    // blanks trimmed, cut at IniReader::kMaxValue characters; nullopt when no
    // line names it.
    void find(std::span<const std::string_view> keys,
              std::span<std::optional<std::string_view>> found) const;

  private:
    std::string_view lines_;
};

// Reads initialisation-file text: "[section]" lines and "key=value" lines.
//
// Written by hand rather than taken from an INI library because the script
// format's reading rules are narrow and the common libraries disagree with
// them: names match without regard to case, the value is everything after the
// first "=" with blanks trimmed (no comment or quoting syntax, no
// continuation lines), and values of up to 2047 characters must survive
// (inih, for one, cuts lines at 200 characters and treats indented lines as
// continuations). CR LF, LF and CR line ends are accepted, and a UTF-8 byte
// order mark left by a text editor is skipped.
//
// The reader builds no index: a script may be any file the user picks, and an
// index of every heading of a large one costs many times its size. Each call
// goes over the text once, allocating nothing.
class IniReader {
  public:
    // A string value is read up to this many characters.
    static constexpr std::size_t kMaxValue = 2047;

    // Reads `text` in place: it must outlive the reader.
    explicit IniReader(std::string_view text);

    // Calls `visit` with the name (blanks trimmed, case kept) and the lines
    // of every section in the order of the text, while it returns true. Keys
    // before the first heading belong to no section.
    void forEachSection(
        const std::function<bool(std::string_view name, const IniSection& lines)>& visit) const;
    // The first section whose name matches `name` without regard to case; a
    // later section of the same name is never read.
    std::optional<IniSection> section(std::string_view name) const;

  private:
    std::string_view text_;
};

// True when `a` and `b` match as names do: without regard to the case of
// ASCII letters.
bool SameIniName(std::string_view a, std::string_view b);

// Parses an integer as the script reader does: optional sign, then decimal
// digits or a hexadecimal prefix and digits. Hexadecimal takes the full
// 32-bit pattern ("0xFFFFFFFF" is -1), as the runtime's conversion did.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// Builds initialisation-file text with CR LF line ends, in the order the
// calls are made.
class IniWriter {
  public:
    void section(std::string_view name);
    void value(std::string_view key, std::string_view value);
    void value(std::string_view key, std::int64_t value);
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace vxa
