#include "core/io/WritePaths.h"

#include <random>

#include "core/io/DirStyle.h"

namespace vxa {

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += DirSeparator();
    return path.append(name);
}

std::string RandomTempName() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 random{std::random_device{}()};
    std::string name = ".vxa-";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    for (int k = 0; k < 8; ++k)
        name += kChars[pick(random)];
    return name;
}

}  // namespace vxa
