#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/io/Utf8Path.h"

namespace vxa::test {

// The separator the program joins paths with.
#ifdef _WIN32
inline constexpr const char* kSep = "\\";
#else
inline constexpr const char* kSep = "/";
#endif

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path);
}

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
  public:
    // A random name, made only if free (as mkdtemp, which Windows lacks).
    TempDir() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int k = 0; path_.empty(); ++k) {
            const auto p = base / ("vxa-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(p))
                path_ = Utf8Name(p);
            else if (k == 100)
                throw std::runtime_error("no temporary folder");
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FsPath(path_), ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + kSep + name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        WriteFile(file(name), bytes);
        return file(name);
    }
    // The names in the folder, sorted: leftovers show.
    std::vector<std::string> names() const {
        std::set<std::string> sorted;
        for (const auto& e : std::filesystem::directory_iterator(FsPath(path_)))
            sorted.insert(Utf8Name(e.path().filename()));
        return {sorted.begin(), sorted.end()};
    }

  private:
    std::string path_;
};

}  // namespace vxa::test
