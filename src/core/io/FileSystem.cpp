#include "core/io/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// The buffer of a copy that goes through memory.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

// A gather through readAt reads positions at most this far apart in one
// read, of at most kGatherBlock bytes: copying a few KiB more costs less
// than another call into the system.
constexpr std::uint64_t kGatherGap = 4096;
constexpr std::uint64_t kGatherBlock = std::uint64_t{1} << 20;

}  // namespace

void File::readExactAt(void* buffer, std::size_t size, std::uint64_t position) {
    if (readAt(buffer, size, position) != size)
        throw IoError(kReadBeyondEnd, path());
}

void File::copyTo(File& out, std::uint64_t position, std::uint64_t size) {
    if (size == 0)
        return;
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyChunk));
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(chunk);
    while (size > 0) {
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(size, chunk));
        readExactAt(buffer.get(), step, position);
        out.write(buffer.get(), step);
        position += step;
        size -= step;
    }
}

void File::readGather(std::span<const std::uint64_t> positions, std::size_t width,
                      std::uint8_t* out) {
    std::unique_ptr<std::uint8_t[]> block;
    std::size_t held = 0;  // the size of `block`
    for (std::size_t k = 0; k < positions.size();) {
        // A run of positions that one read of at most kGatherBlock covers.
        const std::uint64_t at = positions[k];
        std::uint64_t end = at + width;
        std::size_t stop = k + 1;
        while (stop < positions.size() && positions[stop] <= end + kGatherGap &&
               positions[stop] + width - at <= kGatherBlock) {
            end = positions[stop] + width;
            ++stop;
        }
        if (stop == k + 1) {
            readExactAt(out + k * width, width, at);
            ++k;
            continue;
        }
        const auto bytes = static_cast<std::size_t>(end - at);
        if (held < bytes) {
            held = std::max<std::size_t>(bytes, std::min<std::uint64_t>(kGatherBlock, held * 2));
            block = std::make_unique_for_overwrite<std::uint8_t[]>(held);
        }
        readExactAt(block.get(), bytes, at);
        for (; k < stop; ++k)
            std::memcpy(out + k * width, block.get() + (positions[k] - at), width);
    }
}

std::optional<std::uint64_t> FileSystem::fileSize(const std::string& path) {
    if (!fileExists(path))
        return std::nullopt;
    return openRead(path)->size();
}

}  // namespace vxa
