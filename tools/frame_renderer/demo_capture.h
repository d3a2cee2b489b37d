// Runs the demo itself (WinMain, start-up and frame loop) on the portable
// platform's headless windowing back end, with the clock taken out of the
// way, and hands each flipped frame to a sink.
#pragma once

#include "platform/portable/windowing/windowing.h"

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // Frame n (the nth flip; frame 1 is the first the demo draws). Returns
    // false when no more frames are wanted.
    virtual bool Frame(unsigned n, const portable::ScreenFrame &frame) = 0;
    // The process's exit status once the sink has had enough.
    virtual int Finish() = 0;
};

// Never returns: the process ends when the sink has had enough (with its
// status) or when the demo ends on its own (exit code 1, e.g. no earth.bmp).
[[noreturn]] void RunDemo(const char *directory, FrameSink *sink);
