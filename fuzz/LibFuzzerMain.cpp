// libFuzzer entry point for one target, chosen at build time by
// VXA_FUZZ_TARGET. Besides crashes, leaks and timeouts it fails on any single
// allocation larger than the input plus a small constant: no input may make
// the program reserve memory that its size does not justify.
#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

namespace {

constexpr std::size_t kSlack = vxa::fuzz::kAllocationSlack;
std::size_t g_limit = 0;  // 0 = not inside a target call

void OnMalloc(const volatile void*, std::size_t size) {
    if (g_limit != 0 && size > g_limit) {
        g_limit = 0;
        std::fprintf(stderr, "allocation of %zu bytes exceeds input size + %zu\n", size, kSlack);
        std::abort();
    }
}

void OnFree(const volatile void*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_limit = size + kSlack;
    const int r = VXA_FUZZ_TARGET(data, size);
    g_limit = 0;
    return r;
}
