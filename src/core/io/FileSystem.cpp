#include "core/io/FileSystem.h"

#include <algorithm>
#include <memory>

#include "core/io/IoError.h"

namespace vxa {

namespace {

// The buffer of a copy that goes through memory.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

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

std::optional<std::uint64_t> FileSystem::fileSize(const std::string& path) {
    if (!fileExists(path))
        return std::nullopt;
    return openRead(path)->size();
}

}  // namespace vxa
