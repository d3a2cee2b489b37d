// wave_rows: where the wave puts every source row, frame by frame, computed
// by the demo's own effect/wave.cpp with the C library of the build at hand.
// The last bit of sin() differs between C libraries, and the wave truncates
// amplitude * sin(phase), so builds for different platforms are compared by
// running this program on each and comparing what it prints.
//
//     wave_rows rows FIRST LAST     one line per frame: the frame, the bits of
//                                   its amplitude, the 240 landing rows
//     wave_rows digest FIRST LAST   one line: a digest of those lines
//     wave_rows compare FIRST LAST  reads a `rows` listing of the same frames
//                                   (made by another build) from standard
//                                   input and reports every difference;
//                                   exit code 1 when there is any. Under
//                                   node, give it a file, not a pipe:
//                                   Emscripten's standard input takes a
//                                   pipe with nothing in it yet as an error
//     wave_rows detail FRAME ROW    the arithmetic of one landing: phase,
//                                   amplitude, sin, product, offset, row
//
// Frame n is drawn after n calls of AdvanceWave from the state InitWave
// sets, as the demo's frame loop does; frames are numbered from 1.
// Exit codes: 0 done and (compare) equal, 1 compare found differences,
// 2 bad arguments or a listing that cannot be read.
#include "effect/wave.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const int kRows = 240;

// The state InitWave gives (the work surface's colour key aside, which does
// not touch the wave).
WaveState InitialState() {
    return WaveState{0.0f, 0.15f, 0};
}

uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof(bits));
    return bits;
}

uint64_t DoubleBits(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof(bits));
    return bits;
}

// C99 hexadecimal notation of a double, made here rather than by printf's
// %a, which not every C runtime the program runs on has.
std::string HexDouble(double d) {
    const uint64_t bits = DoubleBits(d);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    char text[48];
    if (biased == 0x7FF) {
        std::snprintf(text, sizeof(text), "%s", fraction ? "nan" : negative ? "-inf" : "inf");
    } else if (biased == 0 && fraction == 0) {
        std::snprintf(text, sizeof(text), "%s0x0p+0", negative ? "-" : "");
    } else {
        const int exponent = biased == 0 ? -1022 : biased - 1023;
        std::snprintf(text, sizeof(text), "%s0x%d.%013" PRIx64 "p%+d", negative ? "-" : "",
                      biased == 0 ? 0 : 1, fraction, exponent);
    }
    return text;
}

struct Frames {
    int first;
    int last;
};

bool ParseInt(const char *text, long low, long high, int *value) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool ParseFrames(int argc, char **argv, Frames *frames) {
    return argc == 4 && ParseInt(argv[2], 1, 2000000000L, &frames->first) &&
           ParseInt(argv[3], frames->first, 2000000000L, &frames->last);
}

// Steps the state through every frame of the range and hands each frame's
// landing rows to `visit`.
template <typename Visit> void ForEachFrame(const Frames &frames, Visit visit) {
    WaveState state = InitialState();
    for (int frame = 1; frame <= frames.last; ++frame) {
        AdvanceWave(&state);
        if (frame < frames.first)
            continue;
        int landing[kRows];
        for (int row = 0; row < kRows; ++row)
            landing[row] = WaveRowY(row, state.frameCount, state.amplitude);
        if (!visit(frame, FloatBits(state.amplitude), landing))
            return;
    }
}

// One listing line, newline included.
std::string FrameLine(int frame, uint32_t amplitudeBits, const int *landing) {
    std::string line;
    line.reserve(kRows * 4 + 24);
    char field[24];
    std::snprintf(field, sizeof(field), "%d %08" PRIx32, frame, amplitudeBits);
    line += field;
    for (int row = 0; row < kRows; ++row) {
        std::snprintf(field, sizeof(field), " %d", landing[row]);
        line += field;
    }
    line += '\n';
    return line;
}

int PrintRows(const Frames &frames) {
    ForEachFrame(frames, [](int frame, uint32_t amplitudeBits, const int *landing) {
        const std::string line = FrameLine(frame, amplitudeBits, landing);
        std::fwrite(line.data(), 1, line.size(), stdout);
        return true;
    });
    return std::fflush(stdout) == 0 ? 0 : 2;
}

// FNV-1a over the bytes of the listing lines, so that two builds whose
// listings are equal byte for byte print the same digest.
int PrintDigest(const Frames &frames) {
    uint64_t hash = 0xCBF29CE484222325u;
    ForEachFrame(frames, [&hash](int frame, uint32_t amplitudeBits, const int *landing) {
        for (const char c : FrameLine(frame, amplitudeBits, landing)) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001B3u;
        }
        return true;
    });
    std::printf("frames %d-%d landings %lld digest %016" PRIx64 "\n", frames.first, frames.last,
                static_cast<long long>(frames.last - frames.first + 1) * kRows, hash);
    return 0;
}

// One line of another build's listing; false when the line is not one.
bool ParseLine(const char *text, int *frame, uint32_t *amplitudeBits, int *landing) {
    char *end = nullptr;
    const long f = std::strtol(text, &end, 10);
    if (end == text || *end != ' ')
        return false;
    *frame = static_cast<int>(f);
    text = end;
    const unsigned long bits = std::strtoul(text, &end, 16);
    if (end == text || bits > 0xFFFFFFFFu)
        return false;
    *amplitudeBits = static_cast<uint32_t>(bits);
    text = end;
    for (int row = 0; row < kRows; ++row) {
        if (*text != ' ')
            return false;
        const long y = std::strtol(text, &end, 10);
        if (end == text)
            return false;
        landing[row] = static_cast<int>(y);
        text = end;
    }
    return *text == '\n' || *text == '\r' || *text == '\0';
}

int Compare(const Frames &frames) {
    long long differentLandings = 0;
    long long differentFrames = 0;
    long long differentAmplitudes = 0;
    int shown = 0;
    bool readable = true;
    std::string problem;
    ForEachFrame(frames, [&](int frame, uint32_t amplitudeBits, const int *landing) {
        char line[4096];
        int theirFrame = 0;
        uint32_t theirAmplitude = 0;
        int theirs[kRows];
        if (!std::fgets(line, sizeof(line), stdin) ||
            !ParseLine(line, &theirFrame, &theirAmplitude, theirs) || theirFrame != frame) {
            readable = false;
            problem = "no listing line for frame " + std::to_string(frame);
            return false;
        }
        if (theirAmplitude != amplitudeBits) {
            ++differentAmplitudes;
            if (shown < 10) {
                ++shown;
                std::printf("frame %d: amplitude bits %08" PRIx32 " here, %08" PRIx32
                            " in the listing\n",
                            frame, amplitudeBits, theirAmplitude);
            }
        }
        int inThisFrame = 0;
        for (int row = 0; row < kRows; ++row) {
            if (landing[row] == theirs[row])
                continue;
            ++inThisFrame;
            if (shown < 10) {
                ++shown;
                std::printf("frame %d row %d: lands on %d here, %d in the listing\n", frame, row,
                            landing[row], theirs[row]);
            }
        }
        differentLandings += inThisFrame;
        differentFrames += inThisFrame > 0;
        return true;
    });
    char extra[16];
    if (readable && std::fgets(extra, sizeof(extra), stdin)) {
        readable = false;
        problem = "the listing goes on past frame " + std::to_string(frames.last);
    }
    if (!readable) {
        std::fprintf(stderr, "wave_rows: %s\n", problem.c_str());
        return 2;
    }
    std::printf("frames %d-%d: %lld of %lld landings differ, in %lld frames; "
                "%lld amplitudes differ\n",
                frames.first, frames.last, differentLandings,
                static_cast<long long>(frames.last - frames.first + 1) * kRows, differentFrames,
                differentAmplitudes);
    return differentLandings == 0 && differentAmplitudes == 0 ? 0 : 1;
}

// The steps of WaveRowY written out, with this build's sin, so that a
// landing that differs between builds can be traced to the value of sin.
int Detail(int frame, int row) {
    WaveState state = InitialState();
    for (int i = 0; i < frame; ++i)
        AdvanceWave(&state);
    const int32_t sum =
        static_cast<int32_t>(static_cast<uint32_t>(row) + static_cast<uint32_t>(state.frameCount));
    const double phase = static_cast<double>(sum) * static_cast<double>(0.1f);
    const double sine = std::sin(phase);
    const double product = static_cast<double>(state.amplitude) * sine;
    const int offset = static_cast<int>(product);
    const int landing = WaveRowY(row, state.frameCount, state.amplitude);
    std::printf("frame %d row %d\n", frame, row);
    std::printf("phase     %s (%.17g)\n", HexDouble(phase).c_str(), phase);
    std::printf("amplitude %s (%.9g, bits %08" PRIx32 ")\n", HexDouble(state.amplitude).c_str(),
                static_cast<double>(state.amplitude), FloatBits(state.amplitude));
    std::printf("sin       %s (%.17g, bits %016" PRIx64 ")\n", HexDouble(sine).c_str(), sine,
                DoubleBits(sine));
    std::printf("product   %s (%.17g)\n", HexDouble(product).c_str(), product);
    std::printf("offset    %d\n", offset);
    std::printf("landing   %d (WaveRowY)\n", landing);
    if (landing != offset + row + 120) {
        std::printf("WaveRowY does not match the steps above\n");
        return 1;
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: wave_rows rows|digest|compare FIRST LAST\n"
                         "       wave_rows detail FRAME ROW\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
#ifdef _WIN32
    // The same bytes on every platform: no CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 2)
        return Usage();
    const std::string mode = argv[1];
    if (mode == "detail") {
        int frame = 0, row = 0;
        if (argc != 4 || !ParseInt(argv[2], 1, 2000000000L, &frame) ||
            !ParseInt(argv[3], 0, kRows - 1, &row))
            return Usage();
        return Detail(frame, row);
    }
    Frames frames{};
    if (!ParseFrames(argc, argv, &frames))
        return Usage();
    if (mode == "rows")
        return PrintRows(frames);
    if (mode == "digest")
        return PrintDigest(frames);
    if (mode == "compare")
        return Compare(frames);
    return Usage();
}
