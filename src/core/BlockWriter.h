#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "FileSystem.h"

namespace vxa {

// Sends a stream of pieces to a file in few, large writes: small pieces are
// gathered in a buffer, large blocks of memory go out directly, and copied
// files are read straight into the buffer.
class BlockWriter {
  public:
    static constexpr std::size_t kDefaultCapacity = std::size_t{4} << 20;

    explicit BlockWriter(File& out, std::size_t capacity = kDefaultCapacity);

    void write(std::span<const std::uint8_t> bytes);
    // Copies exactly `size` bytes of `in` from its current position; throws
    // "Read beyond end of file" when it holds fewer.
    void copyFrom(File& in, std::uint64_t size);
    // Writes out what is still buffered.
    void finish();

  private:
    File& out_;
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace vxa
