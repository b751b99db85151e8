#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace vxa {

// Reads `width` bytes of `positions` into `out`, for MappedGather.
using GatherRun = std::function<void(std::span<const std::uint64_t> positions, std::uint8_t* out)>;

// Reads `width` bytes at each of the ascending `positions` of the open file
// `fd` into `out`, one after the other, through mappings of a few MiB of the
// file at a time: a page the system holds costs one fault for its
// neighbourhood and no system call a position, and what is mapped at once
// stays bounded. Runs of positions fewer than the pages they span, and all
// of a file the system cannot map, go to `readRun` instead; thousands of
// such scattered positions are read by two threads, a half each, so
// `readRun` must be safe to call from two threads at once. Throws IoError
// "Read beyond end of file" naming `path` when a position runs past the end,
// also when another program shrinks the file meanwhile.
void MappedGather(int fd, const std::string& path, std::span<const std::uint64_t> positions,
                  std::size_t width, std::uint8_t* out, const GatherRun& readRun);

}  // namespace vxa
