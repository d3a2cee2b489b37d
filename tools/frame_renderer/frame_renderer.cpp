// The reference for what the demo shows: renders its frames without a
// display, frame-exact, to write them as pictures or to find which frame a
// screenshot of a running demo shows.
//
//   frame_renderer write DIR OUTDIR FIRST LAST [STEP]
//       frames FIRST..LAST (every STEP) of the demo run in DIR (which holds
//       earth.bmp), as OUTDIR/frame-NNNN.png, 8-bit palettized.
//   frame_renderer match DIR LAST X Y SHOT.png...
//       for each screenshot, the frame among 1..LAST that equals its 640x480
//       area at (X, Y) pixel for pixel; where none does, the closest frame,
//       how many pixels differ, and SHOT.diff.png (differing pixels red).
//       Exit status 0 when every screenshot matched.
#include "demo_capture.h"
#include "png_io.h"

#include "platform/portable/windowing/headless/headless_png.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void FrameToRgb(const portable::ScreenFrame &frame, RgbImage *out) {
    out->width = frame.width;
    out->height = frame.height;
    out->rgb.resize(static_cast<size_t>(frame.width) * frame.height * 3);
    uint8_t *to = out->rgb.data();
    for (int y = 0; y < frame.height; ++y) {
        const BYTE *row = frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch;
        for (int x = 0; x < frame.width; ++x) {
            const PALETTEENTRY &c = frame.palette[row[x]];
            *to++ = c.peRed;
            *to++ = c.peGreen;
            *to++ = c.peBlue;
        }
    }
}

class FrameWriter final : public FrameSink {
  public:
    FrameWriter(std::string outDir, unsigned first, unsigned last, unsigned step)
        : outDir_(std::move(outDir)), first_(first), last_(last), step_(step) {}

    bool Frame(unsigned n, const portable::ScreenFrame &frame) override {
        if (n >= first_ && (n - first_) % step_ == 0) {
            char name[32];
            std::snprintf(name, sizeof(name), "/frame-%04u.png", n);
            if (!portable::WritePngIndexed(outDir_ + name, frame.width, frame.height, frame.pixels,
                                           frame.pitch, frame.palette)) {
                std::fprintf(stderr, "cannot write %s%s\n", outDir_.c_str(), name);
                failed_ = true;
            }
        }
        return n < last_ && !failed_;
    }
    int Finish() override { return failed_ ? 1 : 0; }

  private:
    std::string outDir_;
    unsigned first_, last_, step_;
    bool failed_ = false;
};

struct Shot {
    std::string path;
    RgbImage area; // the 640x480 the display occupies
    unsigned match = 0;
    unsigned closest = 0;
    long closestDiff = LONG_MAX;
    RgbImage closestFrame;
};

long CountDifferences(const RgbImage &a, const RgbImage &b) {
    long differing = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        differing += std::memcmp(&a.rgb[i], &b.rgb[i], 3) != 0;
    return differing;
}

class FrameMatcher final : public FrameSink {
  public:
    FrameMatcher(std::vector<Shot> shots, unsigned last) : shots_(std::move(shots)), last_(last) {}

    bool Frame(unsigned n, const portable::ScreenFrame &frame) override {
        FrameToRgb(frame, &rgb_);
        bool pending = false;
        for (Shot &shot : shots_) {
            if (shot.match != 0)
                continue;
            if (shot.area.rgb == rgb_.rgb) {
                shot.match = n;
                continue;
            }
            pending = true;
            const long diff = CountDifferences(shot.area, rgb_);
            if (diff < shot.closestDiff) {
                shot.closestDiff = diff;
                shot.closest = n;
                shot.closestFrame = rgb_;
            }
        }
        return pending && n < last_;
    }

    int Finish() override {
        int status = 0;
        for (Shot &shot : shots_) {
            if (shot.match != 0) {
                std::printf("%s frame %u\n", shot.path.c_str(), shot.match);
                continue;
            }
            status = 1;
            const std::string diffPath = shot.path.substr(0, shot.path.rfind('.')) + ".diff.png";
            RgbImage diff = shot.area;
            for (size_t i = 0; i < diff.rgb.size(); i += 3)
                if (std::memcmp(&diff.rgb[i], &shot.closestFrame.rgb[i], 3) != 0) {
                    diff.rgb[i] = 255;
                    diff.rgb[i + 1] = 0;
                    diff.rgb[i + 2] = 0;
                }
            WritePngRgb(diffPath, diff);
            std::printf("%s no match: closest frame %u, %ld pixels differ (see %s)\n",
                        shot.path.c_str(), shot.closest, shot.closestDiff, diffPath.c_str());
        }
        return status;
    }

  private:
    std::vector<Shot> shots_;
    unsigned last_;
    RgbImage rgb_;
};

bool CropDisplayArea(const RgbImage &full, int x, int y, RgbImage *area) {
    if (x < 0 || y < 0 || x + 640 > full.width || y + 480 > full.height)
        return false;
    area->width = 640;
    area->height = 480;
    area->rgb.resize(640 * 480 * 3);
    for (int row = 0; row < 480; ++row)
        std::memcpy(&area->rgb[static_cast<size_t>(row) * 640 * 3],
                    &full.rgb[(static_cast<size_t>(y + row) * full.width + x) * 3], 640 * 3);
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: frame_renderer write DIR OUTDIR FIRST LAST [STEP]\n"
                         "       frame_renderer match DIR LAST X Y SHOT.png...\n");
    return 2;
}

unsigned ToCount(const char *text) {
    return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

// The demo runs in its own folder, so every path given is made absolute
// first.
std::string Absolute(const std::string &path) {
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[4096];
    return std::string(getcwd(cwd, sizeof(cwd)) != nullptr ? cwd : ".") + "/" + path;
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 6 && std::strcmp(argv[1], "write") == 0) {
        const unsigned first = ToCount(argv[4]), last = ToCount(argv[5]);
        const unsigned step = argc >= 7 ? ToCount(argv[6]) : 1;
        if (first == 0 || last < first || step == 0)
            return Usage();
        static FrameWriter writer(Absolute(argv[3]), first, last, step);
        RunDemo(argv[2], &writer);
    }
    if (argc >= 7 && std::strcmp(argv[1], "match") == 0) {
        const int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
        std::vector<Shot> shots;
        for (int i = 6; i < argc; ++i) {
            Shot shot;
            shot.path = Absolute(argv[i]);
            RgbImage full;
            if (!ReadPngRgb(shot.path, &full) || !CropDisplayArea(full, x, y, &shot.area)) {
                std::fprintf(stderr, "%s: no 640x480 area at %d,%d\n", argv[i], x, y);
                return 2;
            }
            shots.push_back(std::move(shot));
        }
        static FrameMatcher matcher(std::move(shots), ToCount(argv[3]));
        RunDemo(argv[2], &matcher);
    }
    return Usage();
}
