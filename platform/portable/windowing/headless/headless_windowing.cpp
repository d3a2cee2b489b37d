// The headless back end: USER's windows and DirectDraw's frames in memory,
// watched through hooks, kept, and saved as PNG files when asked.
#include "platform/portable/windowing/headless/headless.h"

#include "platform/portable/windowing/headless/headless_png.h"
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/user/user_input.h"
#include "platform/portable/windowing/windowing_backends.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

namespace portable {
namespace {

// Input handed over by other threads, taken up by the pump.
struct PendingInput {
    HWND target; // null: the window holding the display
    bool close;  // its close button, else the key vk pressed and released
    WPARAM vk;
};

// ONDULIX_SAVE_FRAMES and ONDULIX_SAVE_EVERY, read whenever the display is
// taken.
struct FrameSaving {
    std::string folder; // empty: frames are not saved
    unsigned every = 1;
    bool failed = false;
};

FrameSaving ReadFrameSaving() {
    FrameSaving saving;
    const char *folder = std::getenv("ONDULIX_SAVE_FRAMES");
    if (folder == nullptr || folder[0] == '\0')
        return saving;
    saving.folder = folder;
    if (const char *every = std::getenv("ONDULIX_SAVE_EVERY")) {
        char *end = nullptr;
        const unsigned long n = std::strtoul(every, &end, 10);
        if (end != every && *end == '\0' && n >= 1 && n <= 1000000)
            saving.every = static_cast<unsigned>(n);
        else
            std::fprintf(stderr,
                         "ONDULIX_SAVE_EVERY=%s is not a count of frames; saving every one\n",
                         every);
    }
    return saving;
}

class Headless final : public WindowingSystem {
  public:
    bool Available() override { return true; }
    bool Create(HWND hwnd, const char *, int, int) override {
        windows_.insert(hwnd);
        newest_ = hwnd;
        return true;
    }
    void Destroy(HWND hwnd) override {
        windows_.erase(hwnd);
        if (newest_ == hwnd)
            newest_ = windows_.empty() ? nullptr : *windows_.rbegin(); // handles only grow
    }
    void Show(HWND, bool) override {} // nothing is seen either way
    void Fill(HWND, COLORREF) override {}
    void ShowCursor(bool) override {}
    void EnterExclusive(HWND hwnd, int width, int height) override {
        exclusive_ = hwnd;
        saving_ = ReadFrameSaving();
        lastSavedFlip_ = 0;
        if (hooks_.entered)
            hooks_.entered(hwnd, width, height);
    }
    void Present(HWND hwnd, const ScreenFrame &frame) override;
    void LeaveExclusive(HWND hwnd) override {
        if (exclusive_ == hwnd)
            exclusive_ = nullptr;
        if (hooks_.left)
            hooks_.left(hwnd);
    }
    void ToggleFullscreen(HWND) override {}
    void Repaint(HWND) override {}
    void PumpEvents() override;
    bool WaitEvents(uint64_t deadlineNs) override;
    bool ShowMessageBox(HWND, const char *, const char *) override {
        return false; // no screen: USER says it on stderr
    }

    HeadlessHooks SetHooks(HeadlessHooks hooks) {
        std::swap(hooks, hooks_);
        return hooks;
    }
    const HeadlessFrame &LastFrame() const { return last_; }
    void KeepFrames(bool keep) { keep_ = keep; }
    void Inject(PendingInput input);

  private:
    void Keep(const ScreenFrame &frame);
    void Save(const ScreenFrame &frame);
    int WakeFd();

    std::set<HWND> windows_;
    HWND newest_ = nullptr;
    HWND exclusive_ = nullptr;
    HeadlessHooks hooks_;
    HeadlessFrame last_;
    bool keep_ = true;
    FrameSaving saving_;
    unsigned lastSavedFlip_ = 0;

    std::mutex inputLock_;
    std::vector<PendingInput> pending_;
    int wake_[2] = {-1, -1}; // a pipe that is readable while input is pending
};

void Headless::Present(HWND hwnd, const ScreenFrame &frame) {
    if (keep_)
        Keep(frame);
    if (!saving_.folder.empty())
        Save(frame);
    if (hooks_.presented)
        hooks_.presented(hwnd, frame);
}

void Headless::Keep(const ScreenFrame &frame) {
    last_.width = frame.width;
    last_.height = frame.height;
    last_.flips = frame.flips;
    last_.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(&last_.pixels[static_cast<size_t>(y) * frame.width],
                    frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch,
                    static_cast<size_t>(frame.width));
    std::memcpy(last_.palette, frame.palette, sizeof(last_.palette));
}

void Headless::Save(const ScreenFrame &frame) {
    // A palette change shows the same frame again; each flip is saved once.
    if (saving_.failed || frame.flips == 0 || frame.flips == lastSavedFlip_ ||
        frame.flips % saving_.every != 0)
        return;
    lastSavedFlip_ = frame.flips;
    char name[32];
    std::snprintf(name, sizeof(name), "/frame-%04u.png", frame.flips);
    const std::string path = saving_.folder + name;
    if (!WritePngIndexed(path, frame.width, frame.height, frame.pixels, frame.pitch,
                         frame.palette)) {
        // Said once: a folder that cannot be written stays so.
        std::fprintf(stderr, "cannot write %s: frames are no longer saved\n", path.c_str());
        saving_.failed = true;
    }
}

int Headless::WakeFd() {
    std::lock_guard<std::mutex> hold(inputLock_);
    if (wake_[0] < 0 && pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0)
        wake_[0] = wake_[1] = -1;
    return wake_[0];
}

void Headless::Inject(PendingInput input) {
    WakeFd();
    std::lock_guard<std::mutex> hold(inputLock_);
    pending_.push_back(input);
    if (wake_[1] >= 0) {
        const char byte = 1;
        (void)!write(wake_[1], &byte, 1);
    }
}

void Headless::PumpEvents() {
    std::vector<PendingInput> taken;
    {
        std::lock_guard<std::mutex> hold(inputLock_);
        taken.swap(pending_);
        char drain[64];
        while (wake_[0] >= 0 && read(wake_[0], drain, sizeof(drain)) > 0) {
        }
    }
    for (const PendingInput &input : taken) {
        HWND target = input.target;
        if (target == nullptr)
            target = exclusive_ != nullptr ? exclusive_ : newest_;
        if (target == nullptr)
            continue;
        if (input.close) {
            RequestClose(target);
            continue;
        }
        KeyInput key{input.vk, true, false, false, false};
        QueueKey(target, key);
        key.down = false;
        QueueKey(target, key);
    }
}

bool Headless::WaitEvents(uint64_t deadlineNs) {
    // Nothing but injected input can arrive, and signals.
    return WaitForInputOrCloseSignal(WakeFd(), deadlineNs);
}

Headless &TheHeadless() {
    static Headless *headless = new Headless; // outlives exit(), as USER's windows do
    return *headless;
}

} // namespace

WindowingSystem &HeadlessWindowing() {
    return TheHeadless();
}

HeadlessHooks SetHeadlessHooks(HeadlessHooks hooks) {
    return TheHeadless().SetHooks(std::move(hooks));
}

const HeadlessFrame &HeadlessLastFrame() {
    return TheHeadless().LastFrame();
}

void HeadlessKeepFrames(bool keep) {
    TheHeadless().KeepFrames(keep);
}

void HeadlessPressKey(WPARAM vk) {
    TheHeadless().Inject({nullptr, false, vk});
}

void HeadlessClose(HWND hwnd) {
    TheHeadless().Inject({hwnd, true, 0});
}

} // namespace portable
