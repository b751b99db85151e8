#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxa::fuzz {

// Each target takes one input and aborts when it finds the program in a
// state it must never reach. Crashes and sanitizer reports abort by
// themselves. The same functions run under libFuzzer and, for the inputs kept
// in fuzz/corpus and fuzz/regressions, in the ordinary test suite.
int LoaderTarget(const std::uint8_t* data, std::size_t size);
int RoundTripTarget(const std::uint8_t* data, std::size_t size);
int ScriptTarget(const std::uint8_t* data, std::size_t size);

// No single allocation made while a target runs may be larger than its input
// by more than this: a file's size must justify the memory it claims.
inline constexpr std::size_t kAllocationSlack = 256 * 1024;

struct Target {
    const char* name;
    int (*run)(const std::uint8_t*, std::size_t);
};
const std::vector<Target>& AllTargets();

[[noreturn]] void Fail(const char* what, const char* file, int line);

}  // namespace vxa::fuzz

#define FUZZ_CHECK(cond) \
    ((cond) ? static_cast<void>(0) : ::vxa::fuzz::Fail(#cond, __FILE__, __LINE__))
