#include "platform/portable/user/user_mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portable {

MappedFile::MappedFile(const char *path) {
    if (path == nullptr)
        return;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer for ever; the regular-file test below refuses it anyway.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        // Mapping, not reading: only the pages the decoder touches become
        // memory, however large the file.
        void *p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            data_ = static_cast<const uint8_t *>(p);
            size_ = static_cast<size_t>(st.st_size);
        }
    }
    close(fd);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr)
        munmap(const_cast<uint8_t *>(data_), size_);
}

} // namespace portable
