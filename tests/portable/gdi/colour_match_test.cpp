// Palette matching as the portable BitBlt does it: exact colours find their
// lowest index, others the nearest by squared distance with ties to the
// lowest index, and a colour table equal to the palette maps onto itself.
#include "platform/portable/gdi/gdi_colour_match.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace portable;

namespace {

struct Palette {
    PALETTEENTRY entries[256];

    // Every entry far from the colours the tests look for, so only the
    // entries a test sets can match.
    explicit Palette(PALETTEENTRY fill = {255, 0, 255, 0}) {
        for (PALETTEENTRY &e : entries)
            e = fill;
    }
    Palette &Set(int index, BYTE r, BYTE g, BYTE b, BYTE flags = 0) {
        entries[index] = PALETTEENTRY{r, g, b, flags};
        return *this;
    }
};

RGBQUAD Quad(const PALETTEENTRY &e, BYTE reserved = 0) {
    return RGBQUAD{e.peBlue, e.peGreen, e.peRed, reserved};
}

std::vector<RGBQUAD> TableOf(const Palette &palette) {
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY &e : palette.entries)
        table.push_back(Quad(e));
    return table;
}

// A palette with colours repeated, as palettes padded from small pictures are.
Palette PaletteWithDuplicates() {
    Palette palette;
    for (int i = 0; i < 256; ++i)
        palette.Set(i, static_cast<BYTE>(i % 100 * 2), static_cast<BYTE>(i % 100),
                    static_cast<BYTE>(255 - i % 100));
    return palette;
}

TEST(NearestPaletteIndex, ExactColourFindsItsLowestIndex) {
    Palette palette;
    palette.Set(200, 10, 20, 30).Set(20, 10, 20, 30).Set(10, 10, 20, 31).Set(90, 10, 20, 30);
    EXPECT_EQ(NearestPaletteIndex(palette.entries, 10, 20, 30), 20);
    EXPECT_EQ(NearestPaletteIndex(palette.entries, 10, 20, 31), 10);
    EXPECT_EQ(NearestPaletteIndex(palette.entries, 255, 0, 255), 0);
}

TEST(NearestPaletteIndex, ExactMatchBeatsAnEarlierNearOne) {
    Palette palette;
    palette.Set(3, 100, 100, 101).Set(255, 100, 100, 100);
    EXPECT_EQ(NearestPaletteIndex(palette.entries, 100, 100, 100), 255);
}

TEST(NearestPaletteIndex, IgnoresTheFlagsByte) {
    Palette palette;
    palette.Set(7, 1, 2, 3, PC_RESERVED).Set(9, 1, 2, 3);
    EXPECT_EQ(NearestPaletteIndex(palette.entries, 1, 2, 3), 7);
}

struct NearestCase {
    const char *name;
    std::vector<std::pair<int, PALETTEENTRY>> entries;
    BYTE r, g, b;
    int expected;
};

class Nearest : public testing::TestWithParam<NearestCase> {};

TEST_P(Nearest, PicksTheExpectedIndex) {
    const NearestCase &c = GetParam();
    Palette palette;
    for (const auto &entry : c.entries)
        palette.entries[entry.first] = entry.second;
    EXPECT_EQ(NearestPaletteIndex(palette.entries, c.r, c.g, c.b), c.expected);
    PaletteMatcher matcher(palette.entries);
    EXPECT_EQ(matcher.Nearest(c.r, c.g, c.b), c.expected);
}

const NearestCase kNearestCases[] = {
    // Distances 4 and 4: the lower index wins whichever comes first.
    {"TieGoesToLowestIndex", {{7, {98, 100, 100, 0}}, {3, {102, 100, 100, 0}}}, 100, 100, 100, 3},
    {"TieAcrossChannels", {{40, {100, 102, 100, 0}}, {41, {100, 100, 98, 0}}}, 100, 100, 100, 40},
    // Distance 2 at index 5 beats distance 4 at index 3.
    {"NearerHigherIndexWins",
     {{3, {102, 100, 100, 0}}, {5, {101, 100, 101, 0}}, {7, {98, 100, 100, 0}}},
     100,
     100,
     100,
     5},
    // (2,2,2) is at squared distance 12, (4,0,0) at 16, though the latter is
    // nearer by the sum of differences.
    {"SquaredDistanceNotSumOfDifferences", {{1, {4, 0, 0, 0}}, {9, {2, 2, 2, 0}}}, 0, 0, 0, 9},
    // (0,0,6) is at 36, (4,4,4) at 48, though the latter is nearer by the
    // largest difference.
    {"SquaredDistanceNotLargestDifference", {{2, {4, 4, 4, 0}}, {6, {0, 0, 6, 0}}}, 0, 0, 0, 6},
    // Ties that PaletteMatcher's cells must not lose. Its cells span 32
    // levels a side; (31,0,0) is on the edge of the first, 4 levels from
    // both entries, one inside the cell and one outside.
    {"TieWithAnEntryOutsideTheCell", {{3, {35, 0, 0, 0}}, {10, {27, 0, 0, 0}}}, 31, 0, 0, 3},
    // (31,31,31) is the cell's corner farthest from (0,0,0) and nearest to
    // (62,62,62), equally far from both.
    {"TieAtTheCellsFarCorner", {{2, {62, 62, 62, 0}}, {8, {0, 0, 0, 0}}}, 31, 31, 31, 2},
    {"ExtremesOfTheCube", {{0, {0, 0, 0, 0}}, {1, {255, 255, 255, 0}}}, 200, 200, 200, 1},
    {"DarkGoesToBlack", {{0, {0, 0, 0, 0}}, {1, {255, 255, 255, 0}}}, 100, 100, 100, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, Nearest, testing::ValuesIn(kNearestCases),
                         [](const testing::TestParamInfo<NearestCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(BuildIndexTranslation, EqualTableMapsEveryIndexToItself) {
    const Palette palette = PaletteWithDuplicates();
    std::vector<RGBQUAD> table = TableOf(palette);
    table[150].rgbReserved = 0x77; // only red, green and blue count
    BYTE out[257];
    out[256] = 0xA5; // past the 256 entries: never written
    BuildIndexTranslation(table.data(), table.size(), palette.entries, out);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(out[i], i) << i;
    EXPECT_EQ(out[256], 0xA5);
}

TEST(BuildIndexTranslation, OneDifferentEntryMakesEveryEntryMatchByColour) {
    const Palette palette = PaletteWithDuplicates();
    std::vector<RGBQUAD> table = TableOf(palette);
    table[255].rgbRed ^= 1;
    BYTE out[256];
    BuildIndexTranslation(table.data(), table.size(), palette.entries, out);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(out[i], i) << i;
    // Duplicates now collapse onto the first entry of their colour.
    EXPECT_EQ(out[100], 0);
    EXPECT_EQ(out[120], 20);
    EXPECT_EQ(out[254], 54);
    // (111,55,200) is one step in red from (110,55,200), first at index 55.
    EXPECT_EQ(out[255], 55);
}

TEST(BuildIndexTranslation, ShortTableMatchesByColourAndPadsWithBlack) {
    Palette palette(PALETTEENTRY{250, 250, 250, 0});
    palette.Set(4, 0, 0, 0).Set(9, 200, 0, 0).Set(12, 0, 0, 0);
    const RGBQUAD table[3] = {{0, 0, 250, 0}, {0, 0, 190, 0}, {255, 255, 255, 0}};
    BYTE out[257];
    out[256] = 0xA5; // past the 256 entries: never written
    BuildIndexTranslation(table, 3, palette.entries, out);
    EXPECT_EQ(out[256], 0xA5);
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(out[2], 0);
    for (int i = 3; i < 256; ++i)
        ASSERT_EQ(out[i], 4) << i;
}

TEST(BuildIndexTranslation, PaletteOrderPrefixIsNotTheIdentity) {
    // The first entries equal the palette's, but a short table is never
    // taken as the palette itself: duplicates collapse.
    const Palette palette = PaletteWithDuplicates();
    const std::vector<RGBQUAD> table = TableOf(palette);
    BYTE out[256];
    BuildIndexTranslation(table.data(), 200, palette.entries, out);
    EXPECT_EQ(out[99], 99);
    EXPECT_EQ(out[150], 50);
    // Black is equally far from (84,42,213) at 42 and (86,43,212) at 43.
    EXPECT_EQ(out[230], 42);
}

TEST(BuildIndexTranslation, EmptyTableIsAllBlack) {
    Palette palette;
    palette.Set(77, 0, 0, 1);
    BYTE out[256];
    BuildIndexTranslation(nullptr, 0, palette.entries, out);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(out[i], 77) << i;
}

// The matcher must give NearestPaletteIndex's answer for every colour; check
// palettes with clusters, duplicates and few distinct colours.
std::vector<Palette> MatcherPalettes() {
    std::mt19937 rng(20240517);
    std::vector<Palette> palettes;
    Palette random;
    for (PALETTEENTRY &e : random.entries)
        e = PALETTEENTRY{static_cast<BYTE>(rng()), static_cast<BYTE>(rng()),
                         static_cast<BYTE>(rng()), 0};
    palettes.push_back(random);
    Palette clustered;
    for (PALETTEENTRY &e : clustered.entries)
        e = PALETTEENTRY{static_cast<BYTE>(120 + rng() % 8), static_cast<BYTE>(60 + rng() % 8),
                         static_cast<BYTE>(rng() % 4), 0};
    palettes.push_back(clustered);
    palettes.push_back(PaletteWithDuplicates());
    Palette grey(PALETTEENTRY{0, 0, 0, 0});
    for (int i = 0; i < 256; i += 17)
        grey.Set(i, static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i));
    palettes.push_back(grey);
    Palette cube;
    for (int i = 0; i < 216; ++i)
        cube.Set(i, static_cast<BYTE>(i / 36 * 51), static_cast<BYTE>(i / 6 % 6 * 51),
                 static_cast<BYTE>(i % 6 * 51));
    palettes.push_back(cube);
    return palettes;
}

TEST(PaletteMatcher, AgreesWithNearestPaletteIndexEverywhere) {
    std::mt19937 rng(7);
    int palette = 0;
    for (const Palette &p : MatcherPalettes()) {
        PaletteMatcher matcher(p.entries);
        auto check = [&](BYTE r, BYTE g, BYTE b) {
            ASSERT_EQ(matcher.Nearest(r, g, b), NearestPaletteIndex(p.entries, r, g, b))
                << "palette " << palette << " colour " << int(r) << "," << int(g) << "," << int(b);
        };
        // Every colour on a lattice through each cell's corners and middle.
        for (int r = 0; r < 256; r += 15)
            for (int g = 0; g < 256; g += 15)
                for (int b = 0; b < 256; b += 15)
                    check(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b));
        for (int edge : {31, 32, 63, 64, 255})
            check(static_cast<BYTE>(edge), static_cast<BYTE>(255 - edge), static_cast<BYTE>(edge));
        for (const PALETTEENTRY &e : p.entries)
            check(e.peRed, e.peGreen, e.peBlue);
        for (int i = 0; i < 20000; ++i) {
            const DWORD c = rng();
            check(static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c));
        }
        ++palette;
    }
}

TEST(PaletteMatcher, KeepsItsOwnCopyOfThePalette) {
    Palette palette;
    palette.Set(5, 1, 2, 3);
    PaletteMatcher matcher(palette.entries);
    palette.Set(5, 255, 0, 255).Set(2, 1, 2, 3);
    EXPECT_EQ(matcher.Nearest(1, 2, 3), 5);
}

} // namespace
