#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vxa {

// A replacement path as a plan record holds it: a handle to one stored
// string, so that the records of a sharing group, which all name the same
// file, cost a pointer each however long the path, and copying a plan copies
// no text. It reads as the path it names.
//
// Hand-written rather than a std::shared_ptr: a group may have millions of
// members, and a plain count in the string's node keeps the handle at one
// pointer, half a shared_ptr, without atomic counting the one thread does
// not need.
class SharedPath {
  public:
    SharedPath() = default;
    SharedPath(std::string path) : node_(new Node{1, std::move(path)}) {}
    SharedPath(const char* path) : SharedPath(std::string(path)) {}
    SharedPath(const SharedPath& other) noexcept : node_(other.node_) {
        if (node_)
            ++node_->Refs;
    }
    SharedPath(SharedPath&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    SharedPath& operator=(SharedPath other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }
    ~SharedPath() {
        if (node_ && --node_->Refs == 0)
            delete node_;
    }

    const std::string& str() const { return node_ ? node_->Text : Empty(); }
    operator const std::string&() const { return str(); }
    operator std::string_view() const { return str(); }
    bool operator==(const SharedPath& other) const {
        return node_ == other.node_ || str() == other.str();
    }

  private:
    struct Node {
        std::size_t Refs;
        const std::string Text;
    };
    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }
    Node* node_ = nullptr;
};

// A replacement plan: record j replaces entry Indices[j] (0-based) by the
// file Paths[j]. Records keep the order they were added in; for an entry with
// several records the last one counts. Both arrays always hold Count items.
struct ReplRec {
    std::int32_t Count = 0;
    std::vector<std::int32_t> Indices;
    std::vector<SharedPath> Paths;

    void clear() {
        Count = 0;
        Indices.clear();
        Paths.clear();
    }
    void append(std::int32_t index, SharedPath path) {
        Indices.push_back(index);
        Paths.push_back(std::move(path));
        Count = static_cast<std::int32_t>(Indices.size());
    }
    // Makes room for `more` records, so that a big group is added without
    // the arrays growing several times over.
    void reserve(std::size_t more) {
        Indices.reserve(Indices.size() + more);
        Paths.reserve(Paths.size() + more);
    }
    bool operator==(const ReplRec&) const = default;
};

}  // namespace vxa
