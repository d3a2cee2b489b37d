// Damaged and hostile picture files, each a way BMP loaders have failed:
// LoadImageA loads each one or refuses it, within 64 MB of memory and a
// second, and the demo meeting one as earth.bmp either runs or ends with the
// not-found message and exit code 1. The files are in
// tests/data/bmp_regressions, written by fuzz/make_bmp_samples.
#include "platform/platform.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/peak_memory.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::RunInChild;
using testsupport::ScratchDir;
using testsupport::SharedBlock;

constexpr size_t kMemoryBound = 64u << 20;
constexpr double kTimeBoundMs = 1000.0;

const std::string kDir = std::string(ONDULIX_TEST_DATA_DIR) + "/bmp_regressions/";

struct Damage {
    const char *name; // the file is <name>.bmp
    bool loads;
};

std::ostream &operator<<(std::ostream &os, const Damage &d) {
    return os << d.name << (d.loads ? " (loads)" : " (refused)");
}

// Loaded: the choices the decoder documents (an index beyond the table
// shows as index 0; RLE data that ends between commands ends the picture;
// a top-down picture; a huge RLE picture, decoded a row at a time).
const Damage kDamage[] = {
    {"huge_60000x60000", false},
    {"huge_60000x60000_rle8", false},
    {"huge_16384x16384_uncompressed", false},
    {"huge_16384x16384_rle8", true},
    {"width_zero", false},
    {"width_negative", false},
    {"height_zero", false},
    {"height_negative_top_down", true},
    {"height_negative_beyond_cap", false},
    {"height_int_min", false},
    {"bitcount_zero", false},
    {"bitcount_7", false},
    {"bitcount_64", false},
    {"planes_2", false},
    {"header_size_64", false},
    {"header_size_huge", false},
    {"colors_used_17_at_4bpp", false},
    {"colors_used_257_at_8bpp", false},
    {"colors_used_huge", false},
    {"colors_used_300_at_24bpp", false},
    {"index_beyond_table", true},
    {"pixel_offset_past_end", false},
    {"pixel_offset_huge", false},
    {"pixel_offset_inside_header", false},
    {"truncated_pixel_data", false},
    {"truncated_in_colour_table", false},
    {"truncated_in_header", false},
    {"file_header_only", false},
    {"not_a_bmp_text", false},
    {"empty", false},
    {"rle8_run_past_row_end", false},
    {"rle8_absolute_past_row_end", false},
    {"rle8_delta_past_right", false},
    {"rle8_delta_past_top", false},
    {"rle8_end_of_line_past_top", false},
    {"rle8_run_after_last_row", false},
    {"rle8_absolute_cut_short", false},
    {"rle8_delta_cut_short", false},
    {"rle8_command_cut_short", false},
    {"rle8_size_image_past_end", false},
    {"rle8_index_beyond_table", true},
    {"rle4_run_past_row_end", false},
    {"rle4_absolute_past_row_end", false},
    {"rle4_delta_past_right", false},
    {"rle4_delta_past_top", false},
    {"rle8_with_bitcount_4", false},
    {"rle4_with_bitcount_8", false},
    {"rle8_with_bitcount_24", false},
    {"rle8_top_down", false},
    {"bitfields_zero_mask", false},
    {"bitfields_overlapping", false},
    {"bitfields_gap_in_mask", false},
    {"bitfields_beyond_16_bits", false},
    {"bitfields_at_24bpp", false},
    {"bitfields_v5_overlapping", false},
    {"bitfields_masks_cut_short", false},
};

struct LoadMeasure {
    bool ran = false;
    bool loaded = false;
    double milliseconds = 0;
    size_t baseBytes = 0; // resident before the load
    size_t peakBytes = 0; // peak resident during it
};

// LoadImageA at the demo's size in a child, measured; asUser: the child
// gives up root first where it has it, so that file modes mean something.
ChildOutcome MeasureLoad(const std::string &path, LoadMeasure *m, bool asUser = false) {
    return RunInChild(
        [&] {
            if (asUser && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                return;
            m->baseBytes = testsupport::StartPeakMeasurement(kMemoryBound);
            const auto start = std::chrono::steady_clock::now();
            HANDLE bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 200, 210,
                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION);
            const auto end = std::chrono::steady_clock::now();
            m->milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
            m->peakBytes = testsupport::PeakResidentBytes();
            m->loaded = bitmap != nullptr;
            if (bitmap != nullptr)
                DeleteObject(bitmap);
            m->ran = true;
        },
        20000);
}

void ExpectWithinBounds(const ChildOutcome &outcome, const LoadMeasure &m) {
    ASSERT_TRUE(outcome.finished) << outcome;
    ASSERT_EQ(outcome.exitCode, testsupport::kChildBodyReturned) << outcome;
    ASSERT_TRUE(m.ran);
    EXPECT_LE(m.milliseconds, kTimeBoundMs);
    EXPECT_LE(m.peakBytes - std::min(m.peakBytes, m.baseBytes), kMemoryBound);
}

class DamagedPicture : public testing::TestWithParam<Damage> {};

TEST_P(DamagedPicture, LoadsOrIsRefusedWithinMemoryAndTimeBounds) {
    SharedBlock<LoadMeasure> m;
    const ChildOutcome outcome = MeasureLoad(kDir + GetParam().name + ".bmp", &*m);
    ExpectWithinBounds(outcome, *m);
    EXPECT_EQ(m->loaded, GetParam().loads);
    RecordProperty("milliseconds", std::to_string(m->milliseconds));
    RecordProperty("peak_growth_kb",
                   std::to_string((m->peakBytes - std::min(m->peakBytes, m->baseBytes)) / 1024));
}

INSTANTIATE_TEST_SUITE_P(Regressions, DamagedPicture, testing::ValuesIn(kDamage),
                         testsupport::NameField());

TEST(DamagedPictureSet, EveryCommittedFileHasAnExpectedOutcome) {
    std::set<std::string> listed, committed;
    for (const Damage &d : kDamage)
        listed.insert(std::string(d.name) + ".bmp");
    for (const auto &entry : std::filesystem::directory_iterator(kDir))
        committed.insert(entry.path().filename().string());
    EXPECT_EQ(listed, committed);
}

// Names that are not a picture file at all.
struct OddName {
    const char *name;
    void (*make)(const std::string &path);
    bool asUser; // run the load without root, whose reads no file mode stops
};

std::ostream &operator<<(std::ostream &os, const OddName &n) {
    return os << n.name;
}

void MakeUnreadableFile(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        std::fputs("BM", f);
        std::fclose(f);
    }
    chmod(path.c_str(), 0);
    // The directory stays open to all: only the file's own mode refuses.
    chmod(std::filesystem::path(path).parent_path().c_str(), 0755);
}

const OddName kOddNames[] = {
    {"a directory", [](const std::string &p) { mkdir(p.c_str(), 0755); }, false},
    {"a FIFO with no writer", [](const std::string &p) { mkfifo(p.c_str(), 0644); }, false},
    {"a file that cannot be read", MakeUnreadableFile, true},
    {"a symbolic link loop", [](const std::string &p) { (void)!symlink(p.c_str(), p.c_str()); },
     false},
    {"a link to a device", [](const std::string &p) { (void)!symlink("/dev/zero", p.c_str()); },
     false},
    {"a missing file", [](const std::string &) {}, false},
};

class OddPictureName : public testing::TestWithParam<OddName> {
  protected:
    ScratchDir dir;
};

TEST_P(OddPictureName, IsRefusedByLoadImageWithoutBlocking) {
    const std::string path = dir.File("earth.bmp");
    GetParam().make(path);
    SharedBlock<LoadMeasure> m;
    ExpectWithinBounds(MeasureLoad(path, &*m, GetParam().asUser), *m);
    EXPECT_FALSE(m->loaded);
}

INSTANTIATE_TEST_SUITE_P(Names, OddPictureName, testing::ValuesIn(kOddNames),
                         testsupport::NameField());

} // namespace
