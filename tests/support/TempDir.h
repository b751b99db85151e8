#pragma once

#include <string>
#include <vector>

namespace vxa::test {

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Full path of `name` inside the directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes `bytes` to `name` and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // The names of the files in the directory, sorted (to spot leftovers).
    std::vector<std::string> names() const;

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace vxa::test
