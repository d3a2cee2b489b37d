// The pictures the generator writes: well-formed files of every form (the
// fuzzers' seeds) and damaged ones (the loader's regression files).
#pragma once

#include "tests/support/bmp_writer.h"

#include <string>

namespace bmpsamples {

// The forms are written with the tests' BMP writer.
using namespace testsupport;

struct NamedFile {
    std::string name;
    Bytes bytes;
};

// Well-formed BMP files, one of each form the decoder reads.
std::vector<NamedFile> SeedForms();

// RLE data for a width x height picture: per row an encoded run, an
// absolute run and an end of line, then an end of bitmap. With a delta, the
// data starts by skipping 4 columns and 2 rows.
Bytes RleStream(int width, int height, bool fourBit, bool delta);

// Files that damaged or hostile headers and data make of those forms.
std::vector<NamedFile> RegressionForms();

} // namespace bmpsamples
