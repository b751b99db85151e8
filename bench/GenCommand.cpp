#include "GenCommand.h"

#include <charconv>
#include <iostream>
#include <stdexcept>

#include "GenArchive.h"

namespace vxa::bench {

namespace {

constexpr const char* kUsage =
    "usage: vxa-bench gen OUT [--entries N] [--size BYTES[k|M|G]] [--blank SHARE]\n"
    "                         [--shared SHARE] [--shuffled] [--seed N]\n";

std::uint64_t Bytes(const std::string& text) {
    std::uint64_t v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || end - p > 1)
        throw std::invalid_argument(text);
    if (p == end)
        return v;
    switch (*p) {
        case 'k':
            return v << 10;
        case 'M':
            return v << 20;
        case 'G':
            return v << 30;
        default:
            throw std::invalid_argument(text);
    }
}

double Share(const std::string& text) {
    std::size_t used = 0;
    const double v = std::stod(text, &used);
    if (used != text.size() || v < 0 || v > 1)
        throw std::invalid_argument(text);
    return v;
}

}  // namespace

int GenCommand(const std::vector<std::string>& args) {
    if (args.empty() || args[0].starts_with("--")) {
        std::cerr << kUsage;
        return 2;
    }
    ArchiveShape shape;
    try {
        for (std::size_t i = 1; i < args.size(); ++i) {
            const std::string& opt = args[i];
            if (opt == "--shuffled") {
                shape.shuffled = true;
                continue;
            }
            if (i + 1 >= args.size())
                throw std::invalid_argument(opt);
            const std::string& value = args[++i];
            if (opt == "--entries") {
                const std::uint64_t n = Bytes(value);
                if (n >= (1ull << 29))
                    throw std::invalid_argument(value);
                shape.entries = static_cast<std::uint32_t>(n);
            } else if (opt == "--size") {
                shape.totalBytes = Bytes(value);
            } else if (opt == "--blank") {
                shape.blankShare = Share(value);
            } else if (opt == "--shared") {
                shape.sharedShare = Share(value);
            } else if (opt == "--seed") {
                shape.seed = Bytes(value);
            } else {
                throw std::invalid_argument(opt);
            }
        }
    } catch (const std::exception&) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        std::cout << WriteArchive(shape, args[0]) << "\n";
    } catch (const std::runtime_error& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace vxa::bench
