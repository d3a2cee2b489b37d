// Every committed fuzz input, and every damaged picture of the regression
// set, goes through the fuzz targets' own entry functions on each test run,
// under whatever sanitizers the build has: what once crashed a fuzzer stays
// fixed, and the seeds keep meaning what they meant.
#include "fuzz/bmp_palette_entry.h"
#include "fuzz/load_image_entry.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using fuzzsupport::CaseOutcome;
namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const std::string &directory) {
    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(directory))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

const std::string kCorpus = ONDULIX_FUZZ_CORPUS_DIR;
const std::string kRegressions = std::string(ONDULIX_TEST_DATA_DIR) + "/bmp_regressions";

class FuzzCorpusReplay : public ::testing::Test {
  protected:
    fuzzsupport::FuzzDisplay display;
};

TEST_F(FuzzCorpusReplay, LoadImageInputsLoadOrAreRefusedKeepingEveryPromise) {
    ASSERT_TRUE(display.ok());
    const auto files = FilesIn(kCorpus + "/load_image");
    ASSERT_FALSE(files.empty());
    int loaded = 0;
    for (const std::string &path : files) {
        const std::vector<uint8_t> input = testsupport::ReadFileBytes(path);
        const CaseOutcome outcome =
            fuzzsupport::RunLoadImageInput(display, input.data(), input.size());
        EXPECT_NE(outcome, CaseOutcome::Broken) << path;
        loaded += outcome == CaseOutcome::Loaded;
    }
    // The seeds are well-formed pictures: each of them loads.
    EXPECT_EQ(loaded, static_cast<int>(files.size()));
}

TEST_F(FuzzCorpusReplay, PaletteInputsFillThePaletteFromBytes54To1077) {
    ASSERT_TRUE(display.ok());
    const auto files = FilesIn(kCorpus + "/bmp_palette");
    ASSERT_FALSE(files.empty());
    for (const std::string &path : files) {
        const std::vector<uint8_t> input = testsupport::ReadFileBytes(path);
        EXPECT_TRUE(fuzzsupport::RunBmpPaletteCase(display, input.data(), input.size())) << path;
    }
}

TEST_F(FuzzCorpusReplay, DamagedPicturesGoThroughBothEntriesAtTheDemosSize) {
    ASSERT_TRUE(display.ok());
    const auto files = FilesIn(kRegressions);
    ASSERT_FALSE(files.empty());
    for (const std::string &path : files) {
        const std::vector<uint8_t> file = testsupport::ReadFileBytes(path);
        for (const fuzzsupport::LoadImageRequest &request :
             {fuzzsupport::LoadImageRequest{}, fuzzsupport::LoadImageRequest{0, 0, -3, 470}}) {
            EXPECT_NE(fuzzsupport::RunLoadImageCase(display, file.data(), file.size(), request),
                      CaseOutcome::Broken)
                << path;
        }
        EXPECT_TRUE(fuzzsupport::RunBmpPaletteCase(display, file.data(), file.size())) << path;
    }
}

} // namespace
