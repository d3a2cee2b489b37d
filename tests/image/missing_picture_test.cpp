// A picture file that cannot be opened, or opens but is no picture: the
// not-found message in its box after the display is given back, exit code
// 1, and nothing after it.
#include "app/app.h"
#include "display/display.h"
#include "image/image.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/demo_child.h"
#include "tests/support/exit_report.h"
#include "tests/support/program_state.h"
#include "tests/support/scratch_dir.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::kReleaseMarkerLine;
using testsupport::SharedBlock;

// " ファイルが見つかりません" ("the file cannot be found") after the name, in
// code page 932, and as the box shows it.
const std::string kNotFoundSjis = " \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9"
                                  "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
const std::string kNotFoundUtf8 = " ファイルが見つかりません";

struct MissingCase {
    const char *name;
    std::string fileName;
    std::string message; // expected in g_MsgBuf
    std::string box;     // expected on stderr
};

std::ostream &operator<<(std::ostream &os, const MissingCase &c) {
    return os << c.name;
}

const std::string kLongName(300, 'x');

const MissingCase kMissingCases[] = {
    {"earth.bmp", "earth.bmp", "earth.bmp" + kNotFoundSjis,
     "Message: earth.bmp" + kNotFoundUtf8 + "\n"},
    // Only 255 bytes and the terminating zero fit the buffer.
    {"a name too long for the message", kLongName, kLongName.substr(0, 255),
     "Message: " + kLongName.substr(0, 255) + "\n"},
};

struct LoaderWatch {
    bool paletteLoaderReturned = false;
};

class MissingPicture : public testsupport::ProgramStateTest,
                       public ::testing::WithParamInterface<MissingCase> {
  protected:
    testsupport::MainWindow window;
    testsupport::ReleaseMarker marker;
    testsupport::ScratchDir emptyDir;
    SharedBlock<testsupport::ExitReport> report;
    SharedBlock<LoaderWatch> watch;
};

TEST_P(MissingPicture, EndsThePaletteLoaderWithTheNotFoundMessage) {
    const MissingCase c = GetParam();
    const ChildOutcome outcome = testsupport::RunInChild([&] {
        testsupport::ReportAtExit(&*report);
        if (chdir(emptyDir.path().c_str()) != 0 || InitDirectDraw(g_hWnd) != 1)
            return;
        LoadBmpPalette(c.fileName.c_str());
        watch->paletteLoaderReturned = true;
        LoadBmpImage(g_pDDSWork, c.fileName.c_str(), 60, 15, 200, 210);
    });
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    EXPECT_EQ(outcome.err, kReleaseMarkerLine + c.box);
    EXPECT_FALSE(watch->paletteLoaderReturned); // the picture loader was never reached
    ASSERT_TRUE(report->taken);
    EXPECT_EQ(std::string(report->msgBuf), c.message);
    EXPECT_EQ(report->liveObjects, 0u);
    // The palette keeps the colours it had.
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(report->palEntries[i].peRed | report->palEntries[i].peGreen |
                      report->palEntries[i].peBlue | report->palEntries[i].peFlags,
                  0)
            << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(Names, MissingPicture, ::testing::ValuesIn(kMissingCases),
                         testsupport::NameField());

class DemoPictureFile : public ::testing::Test {
  protected:
    // Runs the demo in the folder and checks that it ended as a picture it
    // cannot load ends it: exit code 1, the not-found message in its one box
    // (the picture loader never ran to show one of its own), no frame.
    void ExpectNotFoundBeforeTheFirstFrame() {
        testsupport::DemoRun run;
        run.directory = dir.path();
        const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
        ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
        EXPECT_EQ(outcome.exitCode, 1) << outcome;
        EXPECT_EQ(outcome.err, kReleaseMarkerLine + ("Message: earth.bmp" + kNotFoundUtf8 + "\n"));
        EXPECT_EQ(report->flips, 0);
        ASSERT_TRUE(report->exit.taken);
        EXPECT_EQ(std::string(report->exit.msgBuf), "earth.bmp" + kNotFoundSjis);
    }

    testsupport::ScratchDir dir;
    SharedBlock<testsupport::DemoReport> report;
};

TEST_F(DemoPictureFile, MissingEndsTheDemoBeforeItsFirstFrame) {
    ExpectNotFoundBeforeTheFirstFrame();
}

TEST_F(DemoPictureFile, ATextFileGivesItsBytesToThePaletteThenEndsTheDemo) {
    std::string text;
    while (text.size() < 2000)
        text += "Not a picture at all, only words.\r\nAnd a second line of them.\n";
    text.resize(2000);
    dir.Write("earth.bmp", std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_NO_FATAL_FAILURE(ExpectNotFoundBeforeTheFirstFrame());
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY &e = report->exit.palEntries[i];
        const size_t at = 54 + 4 * static_cast<size_t>(i);
        EXPECT_EQ(e.peBlue, static_cast<uint8_t>(text[at])) << "entry " << i;
        EXPECT_EQ(e.peGreen, static_cast<uint8_t>(text[at + 1])) << "entry " << i;
        EXPECT_EQ(e.peRed, static_cast<uint8_t>(text[at + 2])) << "entry " << i;
        EXPECT_EQ(e.peFlags, 1) << "entry " << i;
    }
}

} // namespace
