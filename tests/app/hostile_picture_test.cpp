// The demo meeting a hostile earth.bmp: a name that is no file (a
// directory, a FIFO nobody writes to), a file it may not read, or a damaged
// picture. Each ends the demo with the not-found message and exit code 1,
// promptly and after the display is given back; the damaged pictures the
// loader accepts run the demo as any picture does.
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/demo_child.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::kReleaseMarkerLine;
using testsupport::ScratchDir;
using testsupport::SharedBlock;

const std::string kNotFoundSjis = "earth.bmp \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9"
                                  "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
const std::string kNotFoundBox = "Message: earth.bmp ファイルが見つかりません\n";

// Well within this, or the demo is stuck: a FIFO opened for reading with no
// writer would block for ever.
constexpr int kTimeoutMs = 10000;

void CopyRegression(const ScratchDir &dir, const char *name) {
    const std::string from = std::string(ONDULIX_TEST_DATA_DIR) + "/bmp_regressions/" + name;
    dir.Write("earth.bmp", testsupport::ReadFileBytes(from));
}

struct Hostile {
    const char *name;
    void (*make)(const ScratchDir &dir);
    bool asUser; // the demo runs without root, whose reads no file mode stops
    bool runs;   // the loader accepts it: the demo shows frames
};

std::ostream &operator<<(std::ostream &os, const Hostile &h) {
    return os << h.name;
}

const Hostile kHostile[] = {
    {"a directory", [](const ScratchDir &d) { mkdir(d.File("earth.bmp").c_str(), 0755); }, false,
     false},
    {"a FIFO with no writer",
     [](const ScratchDir &d) { mkfifo(d.File("earth.bmp").c_str(), 0644); }, false, false},
    {"a link to a device",
     [](const ScratchDir &d) { (void)!symlink("/dev/zero", d.File("earth.bmp").c_str()); }, false,
     false},
    {"a file it may not read",
     [](const ScratchDir &d) {
         CopyRegression(d, "index_beyond_table.bmp");
         chmod(d.File("earth.bmp").c_str(), 0);
         chmod(d.path().c_str(), 0755);
     },
     true, false},
    {"a 1 KB file claiming 60000x60000",
     [](const ScratchDir &d) { CopyRegression(d, "huge_60000x60000.bmp"); }, false, false},
    {"truncated pixel data",
     [](const ScratchDir &d) { CopyRegression(d, "truncated_pixel_data.bmp"); }, false, false},
    {"an RLE delta past the top",
     [](const ScratchDir &d) { CopyRegression(d, "rle8_delta_past_top.bmp"); }, false, false},
    {"overlapping bit-field masks",
     [](const ScratchDir &d) { CopyRegression(d, "bitfields_overlapping.bmp"); }, false, false},
    {"a pixel data offset past the end",
     [](const ScratchDir &d) { CopyRegression(d, "pixel_offset_past_end.bmp"); }, false, false},
    {"a 16384x16384 RLE picture in 1 KB",
     [](const ScratchDir &d) { CopyRegression(d, "huge_16384x16384_rle8.bmp"); }, false, true},
    {"indices beyond the colour table",
     [](const ScratchDir &d) { CopyRegression(d, "index_beyond_table.bmp"); }, false, true},
};

class HostilePicture : public testing::TestWithParam<Hostile> {
  protected:
    ScratchDir dir;
    SharedBlock<testsupport::DemoReport> report;
};

TEST_P(HostilePicture, EndsTheDemoWithTheNotFoundMessageOrRunsIt) {
    const Hostile &c = GetParam();
    c.make(dir);
    testsupport::DemoRun run;
    run.directory = dir.path();
    run.timeoutMs = kTimeoutMs;
    run.frameLimit = 5; // a demo that runs is ended by WM_QUIT after these
    if (c.asUser) {
        run.beforeStart = [] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                std::_Exit(99);
        };
    }
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    ASSERT_TRUE(report->exit.taken);
    EXPECT_EQ(report->exit.liveObjects, 0u);
    EXPECT_FALSE(report->exit.screenHeld);
    if (c.runs) {
        EXPECT_EQ(report->flips, 5);
        EXPECT_EQ(outcome.err, kReleaseMarkerLine);
    } else {
        EXPECT_EQ(report->flips, 0);
        EXPECT_EQ(std::string(report->exit.msgBuf), kNotFoundSjis);
        EXPECT_EQ(outcome.err, kReleaseMarkerLine + kNotFoundBox);
    }
}

INSTANTIATE_TEST_SUITE_P(EarthBmp, HostilePicture, testing::ValuesIn(kHostile),
                         testsupport::NameField());

} // namespace
