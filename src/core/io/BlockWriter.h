#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "core/io/FileSystem.h"

namespace vxa {

// Sends a stream of pieces to a file in few, large writes: small pieces are
// gathered in a buffer, large blocks of memory go out directly, and small
// pieces of other files are read straight into the buffer, while large ones
// are left to the kernel to copy.
class BlockWriter {
  public:
    // Small enough to stay in the processor's cache between the read that
    // fills it and the write that empties it.
    static constexpr std::size_t kDefaultCapacity = std::size_t{256} << 10;
    // Pieces of other files at least this long are copied by the kernel:
    // below it, one more read into the buffer costs less than a copy call.
    static constexpr std::uint64_t kKernelCopyMin = std::uint64_t{64} << 10;

    // `capacity` is the buffer's size in bytes, at least 1.
    explicit BlockWriter(File& out, std::size_t capacity = kDefaultCapacity);

    void write(std::span<const std::uint8_t> bytes);
    // Copies bytes [position, position + size) of `in`; throws "Read beyond
    // end of file" when it ends first.
    void copyFrom(File& in, std::uint64_t position, std::uint64_t size);
    // Writes out what is still buffered.
    void finish();

  private:
    File& out_;
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace vxa
