#include "fuzz/input_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

namespace fuzzsupport {
namespace {

// A memory file: millions of inputs leave nothing on disk, and its
// /proc/self/fd path opens as a regular file.
struct InputFile {
    int fd = -1;
    char path[64] = {};

    InputFile() {
        fd = memfd_create("bmp-input", MFD_CLOEXEC);
        if (fd >= 0)
            std::snprintf(path, sizeof(path), "/proc/self/fd/%d", fd);
    }
};

} // namespace

const char *WriteInputFile(const uint8_t *data, size_t size) {
    static InputFile file;
    if (file.fd < 0 || ftruncate(file.fd, 0) != 0)
        return nullptr;
    size_t written = 0;
    while (written < size) {
        const ssize_t n =
            pwrite(file.fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0)
            return nullptr;
        written += static_cast<size_t>(n);
    }
    return file.path;
}

} // namespace fuzzsupport
