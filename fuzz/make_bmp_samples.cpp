// Writes the fuzzers' seed corpus and the loader's regression pictures:
//   make_bmp_samples SOURCE_DIR [OUT_DIR]
// The seeds come from SeedForms() and the demo's own assets/earth.bmp; the
// load_image seeds carry the fuzz input's 8-byte request in front (the
// demo's 200x210 at (60, 15), or the file's own size at (0, 0)). Files go
// under OUT_DIR (default SOURCE_DIR) as fuzz/corpus/<target>/<name> and
// tests/data/bmp_regressions/<name>.bmp.
#include "fuzz/sample_forms.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace {

using bmpsamples::Bytes;

bool WriteFile(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void MakeDirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
}

// The 8-byte request of fuzz/load_image_entry.h: width + 1, height + 1, x, y.
Bytes WithRequest(int width, int height, int x, int y, const Bytes &file) {
    const int fields[4] = {width + 1, height + 1, x, y};
    Bytes input;
    for (int v : fields) {
        input.push_back(static_cast<uint8_t>(v));
        input.push_back(static_cast<uint8_t>(v >> 8));
    }
    input.insert(input.end(), file.begin(), file.end());
    return input;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s SOURCE_DIR [OUT_DIR]\n", argv[0]);
        return 2;
    }
    const std::string source = argv[1];
    const std::string out = argc == 3 ? argv[2] : source;
    std::ifstream earthFile(source + "/assets/earth.bmp", std::ios::binary);
    const Bytes earth((std::istreambuf_iterator<char>(earthFile)),
                      std::istreambuf_iterator<char>());
    if (earth.empty()) {
        std::fprintf(stderr, "cannot read %s/assets/earth.bmp\n", source.c_str());
        return 1;
    }

    const std::string image = out + "/fuzz/corpus/load_image/";
    const std::string palette = out + "/fuzz/corpus/bmp_palette/";
    const std::string regressions = out + "/tests/data/bmp_regressions/";
    MakeDirs(image);
    MakeDirs(palette);
    MakeDirs(regressions);

    bool ok = WriteFile(image + "earth", WithRequest(200, 210, 60, 15, earth)) &&
              WriteFile(palette + "earth", earth);
    for (const auto &seed : bmpsamples::SeedForms()) {
        // Half of the forms at the demo's size (resampled), half at their own
        // size drawn at the top-left corner.
        const bool own = seed.name.size() % 2 == 0;
        ok = ok && WriteFile(image + seed.name, own ? WithRequest(0, 0, 0, 0, seed.bytes)
                                                    : WithRequest(200, 210, 60, 15, seed.bytes));
        ok = ok && WriteFile(palette + seed.name, seed.bytes);
    }
    // The palette loader reads bytes 54-1077 whatever they are: files that
    // end before, inside and just short of that range.
    for (size_t length : {0, 54, 55, 600, 1076, 1077})
        ok = ok && WriteFile(palette + "earth_cut_" + std::to_string(length),
                             Bytes(earth.begin(), earth.begin() + static_cast<long>(length)));
    for (const auto &damaged : bmpsamples::RegressionForms())
        ok = ok && WriteFile(regressions + damaged.name + ".bmp", damaged.bytes);
    return ok ? 0 : 1;
}
