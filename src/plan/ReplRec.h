#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxa {

// A replacement plan: record j replaces entry Indices[j] (0-based) by the
// file Paths[j]. Records keep the order they were added in; for an entry with
// several records the last one counts. Both arrays always hold Count items.
struct ReplRec {
    std::int32_t Count = 0;
    std::vector<std::int32_t> Indices;
    std::vector<std::string> Paths;

    void clear() {
        Count = 0;
        Indices.clear();
        Paths.clear();
    }
    void append(std::int32_t index, std::string path) {
        Indices.push_back(index);
        Paths.push_back(std::move(path));
        Count = static_cast<std::int32_t>(Indices.size());
    }
    bool operator==(const ReplRec&) const = default;
};

}  // namespace vxa
