// make_earth: draws the Earth seen from space and writes it as the 8-bit BMP
// that the demo ripples (assets/earth.bmp).
//
//     make_earth OUTPUT.bmp
//
// The picture is generated rather than painted so that it is ours and can be
// rebuilt at any time. A test regenerates it and compares the result with the
// committed asset byte for byte, which only works if every build of this
// program, on every compiler and optimisation level, produces the same bytes.
// Hence the house rules of this file:
//  - no clock, no rand(), no unordered containers: one fixed-seed splitmix64
//    and a hash of integer lattice points drive everything random;
//  - everything that decides a pixel is computed in double with + - * / and
//    sqrt only, which IEEE 754 rounds exactly, plus std::floor. Nothing comes
//    from libm's sin/cos/pow/exp, whose last bits differ between libraries
//    and between constant folding and run time; the few rotations we need use
//    our own polynomial sine;
//  - the build passes -ffp-contract=off so no compiler fuses a*b+c into an
//    FMA behind our back.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 210;
constexpr int kColours = 256;
constexpr std::uint32_t kHeaderSize = 14 + 40;
constexpr std::uint32_t kPixelOffset = kHeaderSize + 4 * kColours; // 1078
// 200 bytes per row is already a multiple of 4, so the rows need no padding.
constexpr std::uint32_t kImageSize = kWidth * kHeight;
constexpr std::uint32_t kFileSize = kPixelOffset + kImageSize;

// Globe placement in pixels. The radius leaves room for the atmosphere rim
// and a few pixels of space so that the ripple has something to bend.
constexpr double kCentreX = 100.0;
constexpr double kCentreY = 105.0;
constexpr double kRadius = 95.0;
constexpr double kRimWidth = 3.2;     // atmosphere glow beyond the limb, in pixels
constexpr int kSamples = 4;           // 4x4 samples per pixel smooth the limb
constexpr double kDitherAmount = 3.5; // peak-to-peak ordered dither, in byte units

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------- maths ----

struct Vec3 {
    double x, y, z;
};

Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 normalise(Vec3 v) {
    return v * (1.0 / std::sqrt(dot(v, v)));
}

double clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}
double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

// Sine from a Taylor polynomial after folding into [-pi/2, pi/2]. Accurate
// to ~1e-9, far more than a 200-pixel picture needs, and it gives the same
// bits everywhere because it is nothing but + - * /.
double poly_sin(double x) {
    x -= std::floor(x / (2.0 * kPi) + 0.5) * (2.0 * kPi);
    if (x > 0.5 * kPi) {
        x = kPi - x;
    } else if (x < -0.5 * kPi) {
        x = -kPi - x;
    }
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}
double poly_cos(double x) {
    return poly_sin(x + 0.5 * kPi);
}

// Rotates v by angle about the unit axis k (Rodrigues' formula).
Vec3 rotate(Vec3 v, Vec3 k, double angle) {
    const double c = poly_cos(angle);
    const double s = poly_sin(angle);
    return v * c + cross(k, v) * s + k * (dot(k, v) * (1.0 - c));
}

struct Rgb {
    double r, g, b;
};

Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator*(Rgb a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}
Rgb mix(Rgb a, Rgb b, double t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}

// --------------------------------------------------------- randomness ----

std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// splitmix64: tiny, well mixed, and its whole sequence follows from the seed.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        state_ += 0x9e3779b97f4a7c15ULL;
        return mix64(state_);
    }
    // Uniform in [0, 1): 53 random bits scaled by a power of two, exact.
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

// Value of the noise lattice at an integer point, in [0, 1).
double lattice(std::int64_t x, std::int64_t y, std::int64_t z, std::uint64_t seed) {
    std::uint64_t h = mix64(seed ^ static_cast<std::uint64_t>(x));
    h = mix64(h ^ static_cast<std::uint64_t>(y));
    h = mix64(h ^ static_cast<std::uint64_t>(z));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

// Quintic fade: continuous slope at lattice cells, so no creases in the land.
double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

// 3D value noise in [0, 1). Sampling it on the sphere's surface instead of on
// a latitude/longitude map avoids both the polar pinch and any atan2/asin.
double value_noise(Vec3 p, std::uint64_t seed) {
    const double fx = std::floor(p.x);
    const double fy = std::floor(p.y);
    const double fz = std::floor(p.z);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const auto iz = static_cast<std::int64_t>(fz);
    const double u = fade(p.x - fx);
    const double v = fade(p.y - fy);
    const double w = fade(p.z - fz);
    const double c000 = lattice(ix, iy, iz, seed);
    const double c100 = lattice(ix + 1, iy, iz, seed);
    const double c010 = lattice(ix, iy + 1, iz, seed);
    const double c110 = lattice(ix + 1, iy + 1, iz, seed);
    const double c001 = lattice(ix, iy, iz + 1, seed);
    const double c101 = lattice(ix + 1, iy, iz + 1, seed);
    const double c011 = lattice(ix, iy + 1, iz + 1, seed);
    const double c111 = lattice(ix + 1, iy + 1, iz + 1, seed);
    const double x00 = lerp(c000, c100, u);
    const double x10 = lerp(c010, c110, u);
    const double x01 = lerp(c001, c101, u);
    const double x11 = lerp(c011, c111, u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w);
}

// Fractal sum of octaves, normalised back to [0, 1). Each octave is shifted
// by an odd offset so that the lattices of different octaves never line up.
double fbm(Vec3 p, int octaves, std::uint64_t seed) {
    double sum = 0.0;
    double amplitude = 0.5;
    double norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * value_noise(p, seed + static_cast<std::uint64_t>(i));
        norm += amplitude;
        p = p * 2.03 + Vec3{17.31, -9.77, 4.13};
        amplitude *= 0.5;
    }
    return sum / norm;
}

// ------------------------------------------------------------ palette ----

// Base colours of the materials, as lit by full sunlight.
constexpr Rgb kDeepOcean{0.030, 0.110, 0.350};
constexpr Rgb kShallowOcean{0.070, 0.300, 0.520};
constexpr Rgb kForest{0.110, 0.300, 0.100};
constexpr Rgb kGrass{0.380, 0.520, 0.190};
constexpr Rgb kSand{0.820, 0.680, 0.430};
constexpr Rgb kRock{0.500, 0.360, 0.220};
constexpr Rgb kIce{0.930, 0.950, 0.980};
constexpr Rgb kAir{0.400, 0.650, 1.000};
constexpr Rgb kCity{1.000, 0.780, 0.400};

// The night side is never fully dark: an unlit globe would sink into the
// black of space, and black is the demo's transparent colour.
constexpr double kNightLight = 0.085;

// Where each ramp lives in the colour table. Entry 0 is black (space, drawn
// transparent) and 255 is white, the two entries DirectDraw pins anyway.
struct Ramp {
    int first;
    int count;
};
constexpr Ramp kDeepRamp{1, 40};
constexpr Ramp kShallowRamp{41, 24};
constexpr Ramp kForestRamp{65, 32};
constexpr Ramp kGrassRamp{97, 24};
constexpr Ramp kSandRamp{121, 24};
constexpr Ramp kRockRamp{145, 24};
constexpr Ramp kIceRamp{169, 48};
constexpr Ramp kAirRamp{217, 16};
constexpr Ramp kStarRamp{233, 14};
constexpr Ramp kCityRamp{247, 8};
constexpr int kWhite = 255;

struct Rgb8 {
    int r, g, b;
};

// Rounds a channel to a byte; bias (in byte units) is the dither offset.
int to_byte(double v, double bias = 0.0) {
    const double b = std::floor(clamp01(v) * 255.0 + 0.5 + bias);
    return static_cast<int>(b < 0.0 ? 0.0 : (b > 255.0 ? 255.0 : b));
}
Rgb8 to_rgb8(Rgb c, double bias = 0.0) {
    return {to_byte(c.r, bias), to_byte(c.g, bias), to_byte(c.b, bias)};
}

// Fills a ramp with a material from the night-side level up to full sun. The
// levels lean a little towards the dark end, where the eye tells steps apart
// most easily, but not so far that neighbouring dark entries round to the
// same bytes.
void fill_ramp(std::array<Rgb8, kColours> &table, Ramp ramp, Rgb colour, double low) {
    for (int i = 0; i < ramp.count; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(ramp.count - 1);
        const double level = low + (1.0 - low) * 0.5 * (t + t * std::sqrt(t));
        table[static_cast<std::size_t>(ramp.first + i)] = to_rgb8(colour * level);
    }
}

std::array<Rgb8, kColours> make_palette() {
    std::array<Rgb8, kColours> table{};
    table[0] = {0, 0, 0};
    fill_ramp(table, kDeepRamp, kDeepOcean, kNightLight);
    fill_ramp(table, kShallowRamp, kShallowOcean, kNightLight);
    fill_ramp(table, kForestRamp, kForest, kNightLight);
    fill_ramp(table, kGrassRamp, kGrass, kNightLight);
    fill_ramp(table, kSandRamp, kSand, kNightLight);
    fill_ramp(table, kRockRamp, kRock, kNightLight);
    fill_ramp(table, kIceRamp, kIce, kNightLight);
    fill_ramp(table, kAirRamp, kAir, 0.12);
    fill_ramp(table, kCityRamp, kCity, 0.30);
    // Stars are neutral greys, unlike the slightly blue cloud greys, so the
    // two ramps never produce the same entry.
    for (int i = 0; i < kStarRamp.count; ++i) {
        const int v = 64 + (i * (236 - 64)) / (kStarRamp.count - 1);
        table[static_cast<std::size_t>(kStarRamp.first + i)] = {v, v, v};
    }
    table[kWhite] = {255, 255, 255};
    return table;
}

// Every entry must be distinct, and only entries 0 and 255 may be black and
// white: a picture that uses 0 or 255 for anything else would look different
// wherever the display forces those two entries.
bool palette_is_valid(const std::array<Rgb8, kColours> &table) {
    for (int i = 0; i < kColours; ++i) {
        const Rgb8 a = table[static_cast<std::size_t>(i)];
        const bool black = a.r == 0 && a.g == 0 && a.b == 0;
        const bool white = a.r == 255 && a.g == 255 && a.b == 255;
        if (black != (i == 0) || white != (i == kWhite)) {
            return false;
        }
        for (int j = 0; j < i; ++j) {
            const Rgb8 b = table[static_cast<std::size_t>(j)];
            if (a.r == b.r && a.g == b.g && a.b == b.b) {
                return false;
            }
        }
    }
    return true;
}

// Nearest entry among 1..255 with a weighted squared distance (green counts
// most, as it does for the eye). Entry 0 is never chosen here: anything that
// is not empty space must stay opaque in the demo. Ties go to the lower
// index, so the result is fully determined by integers.
int nearest_entry(const std::array<Rgb8, kColours> &table, Rgb8 c) {
    int best = 1;
    long best_distance = -1;
    for (int i = 1; i < kColours; ++i) {
        const Rgb8 e = table[static_cast<std::size_t>(i)];
        const long dr = e.r - c.r;
        const long dg = e.g - c.g;
        const long db = e.b - c.b;
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

// -------------------------------------------------------------- globe ----

// Direction towards the sun, in view space (x right, y up, z towards us):
// from the upper left and a little in front, so about two thirds of the disc
// is in daylight and the terminator curves across the right-hand side.
const Vec3 kSun = normalise({-0.78, 0.32, 0.55});

// Orientation of the planet: axial tilt towards the viewer's right, then a
// spin that puts an interesting stretch of the made-up continents in front.
constexpr double kTilt = 0.36;
constexpr double kSpin = 2.2;

constexpr std::uint64_t kLandSeed = 0x0e4a27b1c5d3f019ULL;
constexpr std::uint64_t kWarpSeed = 0x7c1f00d5e2b9a6c3ULL;
constexpr std::uint64_t kMoistSeed = 0x35d2a90b7e61c4f8ULL;
constexpr std::uint64_t kCloudSeed = 0xa1b2c3d4e5f60718ULL;
constexpr std::uint64_t kCitySeed = 0x5eed0fc17e5a11edULL;
constexpr std::uint64_t kStarSeed = 0x0dd57a25c0ffee00ULL;
constexpr std::uint64_t kStormSeed = 0x6b3e9f1d2c4a8e57ULL;

constexpr double kSeaLevel = 0.535;

// A cyclone: clouds near its centre are wound around it.
struct Storm {
    Vec3 centre;  // unit vector, planet space
    double reach; // angular radius, as chord length
    double twist; // radians of winding at the centre
};

struct Globe {
    Vec3 axis_x, axis_y, axis_z; // view-space to planet-space rows
    std::vector<Storm> storms;
};

Vec3 to_planet(const Globe &globe, Vec3 n) {
    return {dot(globe.axis_x, n), dot(globe.axis_y, n), dot(globe.axis_z, n)};
}

// A few storms, placed by the fixed-seed generator on the face we see (a
// storm on the far side would be wasted) and winding the way real ones do in
// their hemisphere.
std::vector<Storm> make_storms(const Globe &globe) {
    Rng rng(kStormSeed);
    std::vector<Storm> storms;
    while (storms.size() < 3) {
        const double vx = 1.3 * rng.uniform() - 0.8; // mostly on the sunlit side
        const double vy = 1.6 * rng.uniform() - 0.8;
        const double reach = 0.25 + 0.10 * rng.uniform();
        const double twist = 5.0 + 2.0 * rng.uniform();
        const double r2 = vx * vx + vy * vy;
        // Keep them off the limb, where they would be squashed to nothing.
        if (r2 > 0.55 || r2 < 0.04) {
            continue;
        }
        const Vec3 centre = to_planet(globe, {vx, vy, std::sqrt(1.0 - r2)});
        // Nothing swirls over the poles or right on the equator.
        if (std::fabs(centre.y) < 0.2 || std::fabs(centre.y) > 0.75) {
            continue;
        }
        bool crowded = false;
        for (const Storm &other : storms) {
            const Vec3 d = centre - other.centre;
            crowded = crowded || dot(d, d) < 0.5 * 0.5;
        }
        if (crowded) {
            continue;
        }
        storms.push_back({centre, reach, centre.y > 0.0 ? twist : -twist});
    }
    return storms;
}

Globe make_globe() {
    Globe globe;
    // Build the rotation by rotating the view basis, so that the planet's
    // frame is just three dot products away from any view-space normal.
    const Vec3 tilt_axis{0.0, 0.0, 1.0};
    const Vec3 spin_axis{0.0, 1.0, 0.0};
    const Vec3 ex = rotate(rotate({1.0, 0.0, 0.0}, tilt_axis, kTilt), spin_axis, kSpin);
    const Vec3 ey = rotate(rotate({0.0, 1.0, 0.0}, tilt_axis, kTilt), spin_axis, kSpin);
    const Vec3 ez = rotate(rotate({0.0, 0.0, 1.0}, tilt_axis, kTilt), spin_axis, kSpin);
    // Rows of the inverse (transposed) rotation.
    globe.axis_x = {ex.x, ey.x, ez.x};
    globe.axis_y = {ex.y, ey.y, ez.y};
    globe.axis_z = {ex.z, ey.z, ez.z};
    globe.storms = make_storms(globe);
    return globe;
}

// Height of the made-up terrain at a point of the unit sphere; the sea covers
// everything below kSeaLevel. A domain warp bends the coasts into bays and
// peninsulas instead of the blobs plain noise gives.
double elevation(Vec3 q) {
    const Vec3 warp{fbm(q * 1.7, 4, kWarpSeed) - 0.5,
                    fbm(q * 1.7 + Vec3{5.2, 1.3, 2.8}, 4, kWarpSeed) - 0.5,
                    fbm(q * 1.7 + Vec3{-3.1, 7.7, 0.4}, 4, kWarpSeed) - 0.5};
    return fbm(q * 1.45 + warp * 1.1, 7, kLandSeed);
}

// Colour of the ground (or sea) at a planet-space point, before lighting.
// Also reports whether it is open water, for the sun's glint.
Rgb ground(Vec3 q, bool &water, double &land_height) {
    const double e = elevation(q);
    const double lat = std::fabs(q.y);
    // Ragged ice edge: the cap reaches further where the noise says so.
    const double ice_noise = fbm(q * 6.0, 4, kMoistSeed + 99) - 0.5;
    const double ice =
        smoothstep(0.86, 0.90, lat + 0.22 * ice_noise + (e > kSeaLevel ? 0.07 : 0.0));
    land_height = e - kSeaLevel;
    if (e < kSeaLevel) {
        water = ice < 0.5;
        // Shelves near the coast are lighter than the deep basins.
        const double shelf = smoothstep(kSeaLevel - 0.06, kSeaLevel, e);
        return mix(mix(kDeepOcean, kShallowOcean, shelf * shelf), kIce, ice);
    }
    water = false;
    const double height = e - kSeaLevel;
    const double moist = fbm(q * 2.6 + Vec3{11.0, 3.0, -7.0}, 5, kMoistSeed);
    // Deserts sit in the dry belts about 25 degrees from the equator.
    const double belt = 1.0 - smoothstep(0.0, 0.22, std::fabs(lat - 0.42));
    const double dry = clamp01(belt * 0.9 + (0.5 - moist) * 2.2);
    Rgb c = mix(kForest, kGrass, smoothstep(0.35, 0.75, dry + 0.25 * (lat > 0.6 ? 1.0 : 0.0)));
    c = mix(c, kSand, smoothstep(0.55, 0.85, dry));
    // Beaches and mountains: a sandy fringe at the coast, rock higher up.
    c = mix(c, kSand, 0.6 * (1.0 - smoothstep(0.0, 0.012, height)));
    c = mix(c, kRock, smoothstep(0.07, 0.14, height));
    // Tundra towards the poles, then the ice itself.
    c = mix(c, kRock, 0.6 * smoothstep(0.62, 0.80, lat));
    return mix(c, kIce, ice);
}

// Cloud cover in [0, 1] at a planet-space point.
double clouds(const Globe &globe, Vec3 q) {
    Vec3 p = q;
    for (const Storm &storm : globe.storms) {
        const Vec3 d = p - storm.centre;
        const double dist = std::sqrt(dot(d, d));
        if (dist < storm.reach) {
            // Winding falls off smoothly to nothing at the storm's edge, so
            // the swirl blends into the surrounding cloud field.
            const double f = 1.0 - dist / storm.reach;
            p = rotate(p, storm.centre, storm.twist * f * f);
        }
    }
    // Stretch along the equator: cloud bands follow the winds.
    const Vec3 stretched{p.x * 2.2, p.y * 4.2, p.z * 2.2};
    const Vec3 warp{fbm(stretched + Vec3{3.3, 0.0, 0.0}, 3, kCloudSeed + 50) - 0.5,
                    fbm(stretched + Vec3{0.0, 8.1, 0.0}, 3, kCloudSeed + 50) - 0.5, 0.0};
    const double n = fbm(stretched + warp * 1.6, 6, kCloudSeed);
    // Inside a storm the sky is more overcast, so its spiral arms show.
    double storminess = 0.0;
    double eye = 1.0;
    for (const Storm &storm : globe.storms) {
        const Vec3 d = q - storm.centre;
        const double dist = std::sqrt(dot(d, d)) / storm.reach;
        if (dist < 1.0) {
            storminess = std::max(storminess, 1.0 - dist);
            // A small clear eye at the centre.
            eye *= smoothstep(0.04, 0.10, dist);
        }
    }
    const double s = smoothstep(0.0, 0.6, storminess);
    return smoothstep(0.50 - 0.13 * s, 0.68 - 0.10 * s, n) * eye;
}

// Share of sunlight reaching a point whose normal makes cos(angle) = ndl with
// the sun. The soft ramp through zero is the twilight band; below it only
// the night level remains.
double sunlight(double ndl) {
    const double day = smoothstep(-0.12, 0.28, ndl);
    const double lambert = clamp01(ndl);
    return kNightLight + (1.0 - kNightLight) * day * (0.45 + 0.55 * lambert);
}

// Colour of the globe at view-space unit normal n.
Rgb shade_globe(const Globe &globe, Vec3 n) {
    const Vec3 q = to_planet(globe, n);
    bool water = false;
    double land_height = 0.0;
    const Rgb base = ground(q, water, land_height);
    const double cover = clouds(globe, q);
    const double ndl = dot(n, kSun);
    const double light = sunlight(ndl);
    Rgb c = base * light;

    // The sun's glint on open water, a little off the disc centre.
    if (water) {
        const Vec3 half = normalise(kSun + Vec3{0.0, 0.0, 1.0});
        double s = clamp01(dot(n, half));
        s = s * s;
        s = s * s;
        s = s * s;
        s = s * s; // s^16 without pow()
        c = c + Rgb{0.10, 0.16, 0.20} * (s * (1.0 - cover));
    }

    // City lights on the night side of the land, under the clouds.
    if (!water && land_height > 0.0 && ndl < 0.0) {
        const double lights = smoothstep(0.66, 0.78, fbm(q * 22.0, 3, kCitySeed));
        const double night = smoothstep(0.0, -0.15, ndl);
        c = c + kCity * (0.75 * lights * night * (1.0 - cover));
    }

    // Clouds, lit the same way as the ground under them.
    c = mix(c, kIce * light, cover);

    // Atmospheric haze thickens towards the limb, where we look through more
    // air, and only where the sun reaches it.
    const double limb = 1.0 - n.z;
    const double haze = limb * limb * limb * 0.85 + 0.04;
    const double haze_light = smoothstep(-0.25, 0.35, ndl);
    return mix(c, kAir * (0.15 + 0.85 * haze_light), clamp01(haze) * (0.3 + 0.7 * haze_light));
}

// Glow of the atmosphere just outside the limb. r is the distance from the
// centre in globe radii (> 1), (dx, dy) the unit direction in the view.
Rgb shade_rim(double r, double dx, double dy, double &alpha) {
    const double t = (r - 1.0) / (kRimWidth / kRadius);
    const double fall = clamp01(1.0 - t);
    // The edge of the disc faces the sun with a normal of (dx, dy, 0).
    const double ndl = dx * kSun.x + dy * kSun.y;
    const double lit = smoothstep(-0.45, 0.35, ndl);
    alpha = fall * fall * (0.25 + 0.75 * lit);
    return kAir * (0.2 + 0.8 * lit);
}

// Colour of one sample at view position (x, y) in pixels, y going down.
// covered is set when the sample hits the globe or its glow.
Rgb sample(const Globe &globe, double x, double y, bool &covered) {
    const double sx = (x - kCentreX) / kRadius;
    const double sy = (kCentreY - y) / kRadius;
    const double r2 = sx * sx + sy * sy;
    if (r2 < 1.0) {
        covered = true;
        return shade_globe(globe, {sx, sy, std::sqrt(1.0 - r2)});
    }
    const double r = std::sqrt(r2);
    if (r < 1.0 + kRimWidth / kRadius) {
        double alpha = 0.0;
        const Rgb glow = shade_rim(r, sx / r, sy / r, alpha);
        covered = alpha > 0.0;
        return glow * alpha;
    }
    covered = false;
    return {0.0, 0.0, 0.0};
}

// ------------------------------------------------------------ picture ----

// A light 4x4 ordered dither, in byte units. Without it the smooth shading
// across the ocean falls into visible rings where it crosses from one ramp
// entry to the next; a fixed pattern (unlike error diffusion) keeps each
// pixel independent of the others.
double dither(int x, int y) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (kBayer[y % 4][x % 4] - 7.5) * (kDitherAmount / 16.0);
}

// Picture in top-down rows of palette indices.
std::vector<std::uint8_t> render(const std::array<Rgb8, kColours> &palette) {
    const Globe globe = make_globe();
    std::vector<std::uint8_t> pixels(kImageSize, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb sum{0.0, 0.0, 0.0};
            int hits = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double px = x + (i + 0.5) / kSamples;
                    const double py = y + (j + 0.5) / kSamples;
                    bool covered = false;
                    sum = sum + sample(globe, px, py, covered);
                    hits += covered ? 1 : 0;
                }
            }
            if (hits == 0) {
                continue; // empty space stays index 0
            }
            const Rgb average = sum * (1.0 / (kSamples * kSamples));
            pixels[static_cast<std::size_t>(y * kWidth + x)] =
                static_cast<std::uint8_t>(nearest_entry(palette, to_rgb8(average, dither(x, y))));
        }
    }

    // Stars go into the empty space only, with a margin around the glow and
    // around the picture's edges (whose corners must stay space).
    Rng rng(kStarSeed);
    const double keep_out = kRadius + kRimWidth + 3.0;
    int placed = 0;
    for (int attempt = 0; attempt < 4000 && placed < 34; ++attempt) {
        const int x = 2 + rng.below(kWidth - 4);
        const int y = 2 + rng.below(kHeight - 4);
        const int level = rng.below(kStarRamp.count);
        const double dx = x + 0.5 - kCentreX;
        const double dy = y + 0.5 - kCentreY;
        if (dx * dx + dy * dy < keep_out * keep_out) {
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(y * kWidth + x);
        if (pixels[at] != 0) {
            continue;
        }
        ++placed;
        // Every eighth star is a bright one with a small cross of light.
        if (placed % 8 == 0) {
            pixels[at] = kWhite;
            const auto arm = static_cast<std::uint8_t>(kStarRamp.first + kStarRamp.count / 2);
            pixels[at - 1] = arm;
            pixels[at + 1] = arm;
            pixels[at - kWidth] = arm;
            pixels[at + kWidth] = arm;
        } else {
            pixels[at] = static_cast<std::uint8_t>(kStarRamp.first + level);
        }
    }
    return pixels;
}

// -------------------------------------------------------------- output ----

void put16(std::vector<std::uint8_t> &out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// The file is assembled byte by byte in little-endian order, so the layout
// does not depend on the host's struct packing or byte order.
std::vector<std::uint8_t> encode_bmp(const std::array<Rgb8, kColours> &palette,
                                     const std::vector<std::uint8_t> &pixels) {
    std::vector<std::uint8_t> out;
    out.reserve(kFileSize);
    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    put32(out, kFileSize);
    put16(out, 0); // reserved
    put16(out, 0); // reserved
    put32(out, kPixelOffset);
    // BITMAPINFOHEADER
    put32(out, 40);
    put32(out, kWidth);
    put32(out, kHeight); // positive: rows stored bottom-up
    put16(out, 1);       // planes
    put16(out, 8);       // bits per pixel
    put32(out, 0);       // BI_RGB, uncompressed
    put32(out, kImageSize);
    put32(out, 2835); // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, kColours); // colours used
    put32(out, 0);        // all colours important
    // RGBQUAD colour table: blue, green, red, reserved.
    for (const Rgb8 &c : palette) {
        out.push_back(static_cast<std::uint8_t>(c.b));
        out.push_back(static_cast<std::uint8_t>(c.g));
        out.push_back(static_cast<std::uint8_t>(c.r));
        out.push_back(0);
    }
    for (int y = kHeight - 1; y >= 0; --y) {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * kWidth;
        out.insert(out.end(), row, row + kWidth);
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argc > 0 ? argv[0] : "make_earth");
        return 2;
    }
    const std::array<Rgb8, kColours> palette = make_palette();
    if (!palette_is_valid(palette)) {
        std::fprintf(stderr, "make_earth: internal error: palette entries are not distinct\n");
        return 1;
    }
    const std::vector<std::uint8_t> bytes = encode_bmp(palette, render(palette));
    if (bytes.size() != kFileSize) {
        std::fprintf(stderr, "make_earth: internal error: %zu bytes instead of %u\n", bytes.size(),
                     static_cast<unsigned>(kFileSize));
        return 1;
    }
    const std::string path = argv[1];
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "make_earth: cannot open %s for writing\n", path.c_str());
        return 1;
    }
    file.write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_earth: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
