#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

namespace vxa::fuzz {

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s at %s:%d\n", what, file, line);
    std::abort();
}

const std::vector<Target>& AllTargets() {
    static const std::vector<Target> targets{
        {"loader", LoaderTarget},
        {"roundtrip", RoundTripTarget},
        {"script", ScriptTarget},
    };
    return targets;
}

}  // namespace vxa::fuzz
