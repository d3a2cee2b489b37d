#include "tests/support/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifndef ONDULIX_SOURCE_DIR
#error "ONDULIX_SOURCE_DIR must name the source tree"
#endif

namespace testsupport {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ondulix-XXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::File(const std::string &name) const {
    return path_ + "/" + name;
}

std::string ScratchDir::Write(const std::string &name, const std::vector<uint8_t> &bytes) const {
    const std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ScratchDir::CopyEarth() const {
    const std::vector<uint8_t> earth = ReadFileBytes(EarthPath());
    if (earth.empty())
        throw std::runtime_error("cannot read " + EarthPath());
    return Write("earth.bmp", earth);
}

std::vector<uint8_t> ReadFileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string EarthPath() {
    return std::string(ONDULIX_SOURCE_DIR) + "/assets/earth.bmp";
}

} // namespace testsupport
