// A read-only view of a regular file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portable {

class MappedFile {
  public:
    // Maps the named file. Anything but a non-empty regular file (a
    // directory, a FIFO, a device) is refused without blocking, so a FIFO
    // with no writer cannot hang the caller.
    explicit MappedFile(const char *path);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    bool ok() const { return data_ != nullptr; }
    const uint8_t *data() const { return data_; }
    size_t size() const { return size_; }

  private:
    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
};

} // namespace portable
