#pragma once

// Damaged script files of the shapes users have met, at any size. Shared by
// the benchmark (100 MiB of each) and the fuzzers' seed corpus (a few KiB).
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vxa::bench {

enum class ScriptShape {
    Headings,  // a huge Count, then nothing but section headings
    Items,     // valid items up to the size, then the one Count asks for missing
    Keys,      // one section of tiny "key=value" lines, then In and Count
};

inline constexpr ScriptShape kScriptShapes[] = {ScriptShape::Headings, ScriptShape::Items,
                                                ScriptShape::Keys};

inline const char* ScriptShapeName(ScriptShape shape) {
    switch (shape) {
        case ScriptShape::Headings:
            return "headings";
        case ScriptShape::Items:
            return "items";
        case ScriptShape::Keys:
            return "keys";
    }
    return "?";
}

// A script of the shape, `bytes` long or a line longer.
inline std::string MakeScript(ScriptShape shape, std::size_t bytes) {
    // Appended piece by piece: GCC's -O3 warns of overlaps in chains of "+".
    std::string s;
    const auto add = [&s](std::initializer_list<std::string_view> parts) {
        for (const std::string_view part : parts)
            s += part;
    };
    const std::string_view in = "In=/games/orn/data.vxa\r\n";
    s.reserve(bytes + 128);
    std::size_t n = 0;
    switch (shape) {
        case ScriptShape::Headings:
            add({"[General]\r\n", in, "Count=2147483647\r\n"});
            for (; s.size() < bytes; ++n)
                add({"[", std::to_string(n), "]\r\n"});
            break;
        case ScriptShape::Items:
            // The general section last: the reader must not depend on order.
            for (; s.size() < bytes; ++n) {
                const std::string i = std::to_string(n);
                add({"[", i, "]\r\nIndex=", i, "\r\nPath=/home/modder/orn/mods/f", i, ".bin\r\n"});
            }
            add({"[General]\r\n", in, "Count=", std::to_string(n + 1), "\r\n"});
            break;
        case ScriptShape::Keys:
            add({"[General]\n"});
            while (s.size() < bytes)
                add({"k=v\n"});
            add({in, "Count=1\r\n"});
            break;
    }
    return s;
}

}  // namespace vxa::bench
