// Writes the seed corpus of the fuzz targets: small archives of every shape
// the format allows, and a few broken ones. Run it from the repository root:
//   build/fuzz/vxa_make_corpus fuzz/corpus
#include <filesystem>
#include <iostream>

#include "support/ArchiveBuilder.h"
#include "support/TempDir.h"

using namespace vxa::test;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vxa_make_corpus DIR\n";
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "loader";
    std::filesystem::create_directories(dir);
    int n = 0;
    auto put = [&](const std::string& bytes) {
        WriteFile((dir / ("seed-" + std::to_string(++n) + ".vxa")).string(), bytes);
    };
    put(U32(4));
    put(U32(16) + U32(0) + U32(16) + U32(30) + U32(4) + U32(4) + U16(0) + "ABCD");
    put(BuildArchive({Owned("abc"), Shared(0), Blank(), Owned("defgh", 3, 40)}));
    put(BuildArchive({Blank(), Blank(), Owned(""), Shared(2), Shared(2)}));
    put(BuildArchive({Owned("one", 1), Owned("two", 2), Owned("three", 3)},
                     {.reverseRecords = true, .gap = 2}));
    std::vector<TestEntry> many;
    for (int i = 0; i < 40; ++i) {
        many.push_back(i % 5 == 4 ? Shared(i - 1) : i % 7 == 3 ? Blank() : Owned(std::string(i % 4, 'x')));
    }
    put(BuildArchive(many));
    put(BuildArchive(many, {.reverseRecords = true}));
    put(U32(0) + U32(8));
    put(U32(12) + U32(200) + U32(12) + "xx");
    put("not an archive at all");
    std::cout << n << " seeds in " << dir << "\n";
    return 0;
}
