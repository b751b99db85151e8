#include "core/io/BlockWriter.h"

#include <algorithm>
#include <cstring>

namespace vxa {

BlockWriter::BlockWriter(File& out, std::size_t capacity)
    : out_(out),
      capacity_(capacity),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity_)) {}

void BlockWriter::write(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > capacity_ - used_)
        finish();
    if (bytes.size() >= capacity_) {
        out_.write(bytes.data(), bytes.size());
        return;
    }
    if (!bytes.empty())
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void BlockWriter::copyFrom(File& in, std::uint64_t position, std::uint64_t size) {
    if (size >= kKernelCopyMin) {
        finish();
        in.copyTo(out_, position, size);
        return;
    }
    while (size > 0) {
        if (used_ == capacity_)
            finish();
        const std::size_t step =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, capacity_ - used_));
        in.readExactAt(buffer_.get() + used_, step, position);
        used_ += step;
        position += step;
        size -= step;
    }
}

void BlockWriter::finish() {
    if (used_ == 0)
        return;
    out_.write(buffer_.get(), used_);
    used_ = 0;
}

}  // namespace vxa
