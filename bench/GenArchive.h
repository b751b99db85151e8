#pragma once

#include <cstdint>
#include <string>

namespace vxa::bench {

// The shape of a synthetic archive. The same options and seed always give
// the same bytes.
struct ArchiveShape {
    std::uint32_t entries = 1000;
    std::uint64_t totalBytes = 1 << 20;  // approximate size of the whole file
    double blankShare = 0.02;            // share of blank entries
    double sharedShare = 0.05;           // share of entries sharing an earlier record
    bool shuffled = false;               // records stored in a random order
    std::uint64_t seed = 1;
};

// Writes the archive to `path`; returns its size in bytes. Throws
// std::runtime_error on a write failure or a shape that cannot fit 2 GiB.
std::uint64_t WriteArchive(const ArchiveShape& shape, const std::string& path);

}  // namespace vxa::bench
