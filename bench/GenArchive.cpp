#include "GenArchive.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

namespace vxa::bench {

namespace {

void PutU32(std::vector<char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::uint64_t WriteArchive(const ArchiveShape& shape, const std::string& path) {
    std::mt19937_64 rng(shape.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::uint32_t n = shape.entries;
    const std::uint64_t table = 4ull * (n + 1);
    const std::uint64_t dataBudget = shape.totalBytes > table ? shape.totalBytes - table : 0;

    // Kind of each entry: 0 owns, -1 blank, k > 0 shares the record of entry k - 1.
    std::vector<std::int64_t> kind(n, 0);
    std::vector<std::uint32_t> owners;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double r = unit(rng);
        if (r < shape.blankShare) {
            kind[i] = -1;
        } else if (r < shape.blankShare + shape.sharedShare && !owners.empty()) {
            kind[i] = owners[rng() % owners.size()] + 1;
        } else {
            owners.push_back(i);
        }
    }
    std::vector<std::uint32_t> sizes(n, 0);
    const std::uint64_t perOwner =
        owners.empty() ? 0 : std::max<std::uint64_t>(dataBudget / owners.size(), 10) - 10;
    for (std::uint32_t i : owners)
        sizes[i] = static_cast<std::uint32_t>(perOwner / 2 + rng() % (perOwner + 1));

    std::vector<std::uint32_t> order = owners;
    if (shape.shuffled)
        std::shuffle(order.begin(), order.end(), rng);
    std::vector<std::uint64_t> offsets(n, 0);
    std::uint64_t pos = table;
    for (std::uint32_t i : order) {
        offsets[i] = pos;
        pos += 10ull + sizes[i];
    }
    if (pos >= (1ull << 31))
        throw std::runtime_error("archive would be 2 GiB or larger");
    for (std::uint32_t i = 0; i < n; ++i) {
        if (kind[i] > 0)
            offsets[i] = offsets[kind[i] - 1];
    }

    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f)
        throw std::runtime_error("cannot create " + path);
    std::vector<char> buf;
    buf.reserve(table);
    for (std::uint32_t i = 0; i < n; ++i)
        PutU32(buf, static_cast<std::uint32_t>(offsets[i]));
    PutU32(buf, static_cast<std::uint32_t>(pos));
    std::vector<char> noise(1 << 20);
    for (char& c : noise)
        c = static_cast<char>(rng());
    auto put = [&](const char* p, std::size_t len) {
        if (std::fwrite(p, 1, len, f.get()) != len)
            throw std::runtime_error("write failed");
    };
    put(buf.data(), buf.size());
    std::size_t cursor = 0;
    for (std::uint32_t i : order) {
        buf.clear();
        PutU32(buf, sizes[i] + 7);  // original size: opaque to the program
        PutU32(buf, sizes[i]);
        buf.push_back(static_cast<char>(i % 3));
        buf.push_back(0);
        put(buf.data(), buf.size());
        std::size_t left = sizes[i];
        while (left > 0) {
            const std::size_t chunk = std::min(left, noise.size() - cursor);
            put(noise.data() + cursor, chunk);
            cursor = (cursor + chunk) % noise.size();
            left -= chunk;
        }
    }
    if (std::fflush(f.get()) != 0)
        throw std::runtime_error("write failed");
    return pos;
}

}  // namespace vxa::bench
