// Runs a piece of a test in a forked copy of the test process, for what
// ends the process (the demo's every way out calls exit), and lets the test
// read its exit code, everything it wrote to stderr, and what it reported
// through shared memory.
#pragma once

#include <sys/mman.h>

#include <functional>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace testsupport {

// The exit code of a child whose body returned instead of ending the
// process: none of the demo's ways out uses it.
constexpr int kChildBodyReturned = 86;

struct ChildOutcome {
    bool finished = false; // ended within the time allowed (else it was killed)
    bool exited = false;   // ended by exit or a return from main, not by a signal
    int exitCode = -1;
    int signal = 0;
    std::string err; // everything it wrote to stderr, in order
};

std::ostream &operator<<(std::ostream &os, const ChildOutcome &outcome);

// Forks, runs body in the child with its stderr captured, and waits for the
// child to end, killing it after timeoutMs. A body that returns ends the
// child with kChildBodyReturned.
ChildOutcome RunInChild(const std::function<void()> &body, int timeoutMs = 20000);

// A T in memory shared with every child forked after it: a child writes its
// observations there, the test reads them when the child has ended.
template <typename T> class SharedBlock {
    static_assert(std::is_trivially_copyable<T>::value, "plain data only: it crosses processes");

  public:
    SharedBlock() {
        void *memory =
            mmap(nullptr, sizeof(T), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            throw std::runtime_error("mmap of shared memory failed");
        data_ = new (memory) T();
    }
    ~SharedBlock() { munmap(data_, sizeof(T)); }
    SharedBlock(const SharedBlock &) = delete;
    SharedBlock &operator=(const SharedBlock &) = delete;

    T *operator->() const { return data_; }
    T &operator*() const { return *data_; }

  private:
    T *data_ = nullptr;
};

} // namespace testsupport
