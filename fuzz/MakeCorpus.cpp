// Writes the seed corpus of the fuzz targets: small archives of every shape
// the format allows, and a few broken ones, for the loader and the round trip;
// script files likewise. Run it from the repository root:
//   build/tests/vxa_make_corpus fuzz/corpus
#include <filesystem>
#include <iostream>

#include "ScriptShapes.h"
#include "script/ScriptFile.h"
#include "support/ArchiveBuilder.h"
#include "support/TempDir.h"

using namespace vxa::test;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vxa_make_corpus DIR\n";
        return 2;
    }
    int n = 0;
    auto put = [&](const std::string& bytes) {
        const std::string name = "seed-" + std::to_string(++n) + ".vxa";
        for (const char* target : {"loader", "roundtrip"}) {
            const auto dir = std::filesystem::path(argv[1]) / target;
            std::filesystem::create_directories(dir);
            WriteFile((dir / name).string(), bytes);
        }
    };
    put(U32(4));
    put(U32(16) + U32(0) + U32(16) + U32(30) + U32(4) + U32(4) + U16(0) + "ABCD");
    put(BuildArchive({Owned("abc"), Shared(0), Blank(), Owned("defgh", 3, 40)}));
    put(BuildArchive({Blank(), Blank(), Owned(""), Shared(2), Shared(2)}));
    put(BuildArchive({Owned("one", 1), Owned("two", 2), Owned("three", 3)},
                     {.reverseRecords = true, .gap = 2}));
    std::vector<TestEntry> many;
    for (int i = 0; i < 40; ++i) {
        many.push_back(i % 5 == 4   ? Shared(i - 1)
                       : i % 7 == 3 ? Blank()
                                    : Owned(std::string(i % 4, 'x')));
    }
    put(BuildArchive(many));
    put(BuildArchive(many, {.reverseRecords = true}));
    put(U32(0) + U32(8));
    put(U32(12) + U32(200) + U32(12) + "xx");
    put("not an archive at all");
    std::cout << n << " archive seeds\n";

    // Script files: saved ones, hand-edited forms and damaged ones.
    const std::filesystem::path scripts = std::filesystem::path(argv[1]) / "script";
    std::filesystem::create_directories(scripts);
    int k = 0;
    auto putScript = [&](const std::string& text) {
        WriteFile((scripts / ("seed-" + std::to_string(++k) + ".vxc")).string(), text);
    };
    vxa::ReplRec items;
    items.append(3, "/mods/a.wav");
    items.append(3, "/mods/b c.wav");
    items.append(-1, "/mods/x");
    putScript(vxa::FormatScript("/games/orn/data.vxa", "/games/orn/new.vxa", items));
    putScript(vxa::FormatScript("/in.vxa", "", items));
    putScript(vxa::FormatScript("", "", {}));
    putScript(
        "\xEF\xBB\xBF[general]\nin = /in.vxa\ncount=$2\n[1]\nPATH=/p\nindex=0x1A\n"
        "[0]\nIndex=-7\nPath=/q\n[5]\nIndex=1\n");
    putScript("[General]\nIn=/in.vxa\nCount=2147483647\n[0]\nIndex=0\nPath=/p\n");
    // The benchmark's damaged shapes, small.
    for (const vxa::bench::ScriptShape shape : vxa::bench::kScriptShapes)
        putScript(vxa::bench::MakeScript(shape, 16 << 10));
    std::cout << k << " seeds in " << scripts << "\n";
    return 0;
}
