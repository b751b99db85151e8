#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vxa {

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
class IniReader {
  public:
    // A string value is read up to this many characters.
    static constexpr std::size_t kMaxValue = 2047;

    explicit IniReader(std::string_view text);

    // The value of `key` in `section`, or nullopt when either is absent. When
    // a name occurs more than once, the first occurrence counts.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           const std::string& def) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else, and a
    // value out of the 32-bit range, gives `def`.
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;

  private:
    // Where the lines of a section lie in text_: from the line after its
    // heading up to the next heading.
    struct Body {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    std::string text_;
    // Lower-case name -> the first section of that name. Only sections are
    // indexed; a lookup reads the lines of its section, so what the reader
    // holds is the text and one entry per distinct name, however many short
    // lines the text has.
    std::unordered_map<std::string, Body> byName_;
};

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
