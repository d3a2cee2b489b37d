// A fresh directory under the system's temporary directory, removed with
// everything in it when the test is done: where the tests put the picture
// files they make, and where the demo looks for "earth.bmp".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &path() const { return path_; }
    // The full path of a file in the directory.
    std::string File(const std::string &name) const;
    // Writes the bytes to a file in the directory; returns its full path.
    std::string Write(const std::string &name, const std::vector<uint8_t> &bytes) const;
    // Puts a copy of the committed picture, assets/earth.bmp, here as
    // "earth.bmp"; returns its full path.
    std::string CopyEarth() const;

  private:
    std::string path_;
};

// The bytes of a file; empty when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string &path);

// The committed picture, assets/earth.bmp.
std::string EarthPath();

} // namespace testsupport
