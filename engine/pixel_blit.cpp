#include "engine/pixel_blit.h"

#include "engine/raster_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace kalvero {

namespace {

constexpr std::uint32_t White = 0xFFFFFFFFu;
constexpr int SubpixelSteps = 256;            // positions are taken to 1/256 pixel
constexpr int StripSteps = 128;               // the background strip to 1/128 pixel
constexpr double MaxCoordinate = 1 << 22;     // farther away nothing can be on screen
constexpr std::uint32_t AlphaBytes = 0x8888u; // movemask bits of the four alpha bytes

// A position split into a whole pixel (rounded down) and a fraction in 1/256.
struct TFixedPos {
    int Whole = 0;
    int Frac = 0; // 0 .. 255
};

TFixedPos ToFixed(double value, int stepsPerPixel = SubpixelSteps) {
    const auto steps = static_cast<long long>(std::nearbyint(value * stepsPerPixel));
    const long long whole =
        steps >= 0 ? steps / stepsPerPixel : -((-steps + stepsPerPixel - 1) / stepsPerPixel);
    return {static_cast<int>(whole), static_cast<int>(steps - whole * stepsPerPixel)};
}

const std::uint32_t* ImageRow(const TRasterImage& image, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.Data() +
                                                  static_cast<long>(y) * image.Stride());
}

// ---- one pixel, the reference for the vector code below ----

inline std::uint32_t LerpPixel(std::uint32_t a, std::uint32_t b, int fracA) {
    const std::uint32_t fa = static_cast<std::uint32_t>(fracA);
    const std::uint32_t fb = SubpixelSteps - fa;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * fa + cb * fb + 128) >> 8) << shift;
    }
    return out;
}

// The strip's interpolation: weights in 1/128, so that the vector code can multiply and add
// byte pairs in one step.
inline std::uint32_t StripLerpPixel(std::uint32_t a, std::uint32_t b, int fracA) {
    const std::uint32_t fa = static_cast<std::uint32_t>(fracA);
    const std::uint32_t fb = StripSteps - fa;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * fa + cb * fb + 64) >> 7) << shift;
    }
    return out;
}

inline std::uint32_t OverPixel(std::uint32_t s, std::uint32_t d) {
    if (s == 0)
        return d;
    const std::uint32_t inverse = 255 - (s >> 24);
    if (inverse == 0)
        return s;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t t = ((d >> shift) & 0xFF) * inverse + 128;
        t = (t + (t >> 8)) >> 8;
        const std::uint32_t c = std::min<std::uint32_t>(255, ((s >> shift) & 0xFF) + t);
        out |= c << shift;
    }
    return out;
}

#if defined(__SSE2__)

template <int Bits> inline __m128i LerpHalf(__m128i a, __m128i b, __m128i fa, __m128i fb) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, fa), _mm_mullo_epi16(b, fb));
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(1 << (Bits - 1))), Bits);
}

// Four pixels a * fracA + b * (steps - fracA), per channel, in steps of 1 / 2^Bits.
template <int Bits = 8> inline __m128i Lerp4(__m128i a, __m128i b, __m128i fa, __m128i fb) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo =
        LerpHalf<Bits>(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), fa, fb);
    const __m128i hi =
        LerpHalf<Bits>(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), fa, fb);
    return _mm_packus_epi16(lo, hi);
}

inline __m128i ScaleHalf(__m128i d, __m128i s) {
    __m128i alpha = _mm_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(d, inverse), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Four pixels s over d; transparent and opaque groups take the short way.
inline __m128i Over4(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128();
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(s, zero)) == 0xFFFF)
        return d;
    if ((_mm_movemask_epi8(_mm_cmpeq_epi8(s, _mm_set1_epi8(-1))) & AlphaBytes) == AlphaBytes)
        return s;
    const __m128i lo = ScaleHalf(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
    const __m128i hi = ScaleHalf(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    return _mm_adds_epu8(_mm_packus_epi16(lo, hi), s);
}

inline __m128i Load4(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void Store4(std::uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define KALVERO_HAVE_AVX2 1
#define KALVERO_AVX2 __attribute__((target("avx2")))

// The same arithmetic as the four-pixel code, eight pixels at a time, for processors with AVX2
// (chosen at run time). Every lane computes exactly what the one-pixel reference computes.

KALVERO_AVX2 inline __m256i Load8(const std::uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

KALVERO_AVX2 inline void Store8(std::uint32_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

KALVERO_AVX2 inline __m256i LerpHalf8(__m256i a, __m256i b, __m256i fa, __m256i fb) {
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(a, fa), _mm256_mullo_epi16(b, fb));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

KALVERO_AVX2 inline __m256i Lerp8(__m256i a, __m256i b, __m256i fa, __m256i fb) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo =
        LerpHalf8(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), fa, fb);
    const __m256i hi =
        LerpHalf8(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), fa, fb);
    return _mm256_packus_epi16(lo, hi);
}

KALVERO_AVX2 inline __m256i ScaleHalf8(__m256i d, __m256i s) {
    __m256i alpha = _mm256_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm256_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(d, inverse), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

KALVERO_AVX2 inline __m256i Over8(__m256i s, __m256i d) {
    const __m256i zero = _mm256_setzero_si256();
    const auto transparent =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(s, zero)));
    if (transparent == 0xFFFFFFFFu)
        return d;
    const auto full = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(s, _mm256_set1_epi8(-1))));
    if ((full & 0x88888888u) == 0x88888888u)
        return s;
    const __m256i lo = ScaleHalf8(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero));
    const __m256i hi = ScaleHalf8(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero));
    return _mm256_adds_epu8(_mm256_packus_epi16(lo, hi), s);
}

// dst[i] = a[i] weighted fracA, b[i] the rest, for whole groups of eight; returns the count done.
KALVERO_AVX2 int LerpSpan8(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b,
                           int count, int fracA) {
    const __m256i fa = _mm256_set1_epi16(static_cast<short>(fracA));
    const __m256i fb = _mm256_set1_epi16(static_cast<short>(SubpixelSteps - fracA));
    int i = 0;
    for (; i + 8 <= count; i += 8)
        Store8(dst + i, Lerp8(Load8(a + i), Load8(b + i), fa, fb));
    return i;
}

// dst[i] = src[i] over dst[i], for whole groups of eight.
KALVERO_AVX2 int OverSpan8(std::uint32_t* dst, const std::uint32_t* src, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8)
        Store8(dst + i, Over8(Load8(src + i), Load8(dst + i)));
    return i;
}

// dst[i] = (a[i] weighted fracA, b[i] the rest) over dst[i], for whole groups of eight.
KALVERO_AVX2 int OverLerpSpan8(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b,
                               int count, int fracA) {
    const __m256i fa = _mm256_set1_epi16(static_cast<short>(fracA));
    const __m256i fb = _mm256_set1_epi16(static_cast<short>(SubpixelSteps - fracA));
    int i = 0;
    for (; i + 8 <= count; i += 8)
        Store8(dst + i, Over8(Lerp8(Load8(a + i), Load8(b + i), fa, fb), Load8(dst + i)));
    return i;
}

// The strip's interpolation for whole groups of eight: byte pairs (a, b) times (fracA,
// 128 - fracA) summed in one step; fracA lies in 1 .. 127.
KALVERO_AVX2 int StripLerpSpan8(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b,
                                int count, int fracA) {
    const __m256i weights =
        _mm256_set1_epi16(static_cast<short>((StripSteps - fracA) << 8 | fracA));
    const __m256i half = _mm256_set1_epi16(64);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i va = Load8(a + i), vb = Load8(b + i);
        __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(va, vb), weights);
        __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(va, vb), weights);
        lo = _mm256_srli_epi16(_mm256_add_epi16(lo, half), 7);
        hi = _mm256_srli_epi16(_mm256_add_epi16(hi, half), 7);
        Store8(dst + i, _mm256_packus_epi16(lo, hi));
    }
    return i;
}

bool UseAvx2() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
}
#endif

#endif

// dst[i] = src[i] over dst[i].
void OverRow(std::uint32_t* dst, const std::uint32_t* src, int count) {
    int i = 0;
#if defined(KALVERO_HAVE_AVX2)
    if (UseAvx2())
        i = OverSpan8(dst, src, count);
#endif
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4)
        Store4(dst + i, Over4(Load4(src + i), Load4(dst + i)));
#endif
    for (; i < count; ++i)
        dst[i] = OverPixel(src[i], dst[i]);
}

// Pixel j of a row shifted right by a fraction: src[j - 1] weighted fracA, src[j] the rest;
// transparent outside 0 .. width - 1.
inline std::uint32_t ShiftedPixel(const std::uint32_t* src, int width, int j, int fracA) {
    const std::uint32_t a = j >= 1 && j - 1 < width ? src[j - 1] : 0;
    const std::uint32_t b = j >= 0 && j < width ? src[j] : 0;
    return LerpPixel(a, b, fracA);
}

// Blends pixels jBegin .. jEnd - 1 of a source row shifted right by fracA/256 over dst, where
// dst points at the pixel of j = jBegin.
void OverShiftedRow(std::uint32_t* dst, const std::uint32_t* src, int width, int fracA, int jBegin,
                    int jEnd) {
    int j = jBegin;
    for (; j < jEnd && j < 1; ++j)
        dst[j - jBegin] = OverPixel(ShiftedPixel(src, width, j, fracA), dst[j - jBegin]);
#if defined(KALVERO_HAVE_AVX2)
    if (UseAvx2() && j < std::min(jEnd, width))
        j +=
            OverLerpSpan8(dst + j - jBegin, src + j - 1, src + j, std::min(jEnd, width) - j, fracA);
#endif
#if defined(__SSE2__)
    const __m128i fa = _mm_set1_epi16(static_cast<short>(fracA));
    const __m128i fb = _mm_set1_epi16(static_cast<short>(SubpixelSteps - fracA));
    for (; j + 4 <= std::min(jEnd, width); j += 4) {
        const __m128i pixels = Lerp4(Load4(src + j - 1), Load4(src + j), fa, fb);
        Store4(dst + j - jBegin, Over4(pixels, Load4(dst + j - jBegin)));
    }
#endif
    for (; j < jEnd; ++j)
        dst[j - jBegin] = OverPixel(ShiftedPixel(src, width, j, fracA), dst[j - jBegin]);
}

// out[i] = upper[i] weighted fracA, lower[i] the rest; a null row is transparent.
void LerpRows(std::uint32_t* out, const std::uint32_t* upper, const std::uint32_t* lower, int count,
              int fracA) {
    int i = 0;
#if defined(KALVERO_HAVE_AVX2)
    if (UseAvx2() && upper && lower)
        i = LerpSpan8(out, upper, lower, count, fracA);
#endif
#if defined(__SSE2__)
    const __m128i fa = _mm_set1_epi16(static_cast<short>(fracA));
    const __m128i fb = _mm_set1_epi16(static_cast<short>(SubpixelSteps - fracA));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= count; i += 4)
        Store4(out + i,
               Lerp4(upper ? Load4(upper + i) : zero, lower ? Load4(lower + i) : zero, fa, fb));
#endif
    for (; i < count; ++i)
        out[i] = LerpPixel(upper ? upper[i] : 0, lower ? lower[i] : 0, fracA);
}

// dst[x] for x in 0 .. count - 1 = the strip's pixel x - shift, white outside the strip.
void CopyStripRow(std::uint32_t* dst, int count, const std::uint32_t* strip, int stripW,
                  int shift) {
    const int begin = std::clamp(shift, 0, count);
    const int end = std::clamp(shift + stripW, begin, count);
    std::fill(dst, dst + begin, White);
    if (end > begin)
        std::memcpy(dst + begin, strip + (begin - shift), static_cast<size_t>(end - begin) * 4);
    std::fill(dst + end, dst + count, White);
}

// dst[x] = the strip shifted right by whole + fracA/128 pixels, white outside it.
void LerpStripRow(std::uint32_t* dst, int count, const std::uint32_t* strip, int stripW,
                  TFixedPos shift) {
    auto pixel = [&](int x) {
        const int k = x - shift.Whole;
        return StripLerpPixel(k >= 1 && k - 1 < stripW ? strip[k - 1] : White,
                              k >= 0 && k < stripW ? strip[k] : White, shift.Frac);
    };
    // Columns whose two neighbours both lie in the strip.
    const int begin = std::clamp(shift.Whole + 1, 0, count);
    const int end = std::clamp(shift.Whole + stripW, begin, count);
    for (int x = 0; x < begin; ++x)
        dst[x] = pixel(x);
    int x = begin;
#if defined(KALVERO_HAVE_AVX2)
    if (UseAvx2() && x < end) {
        const std::uint32_t* p = strip + (x - shift.Whole);
        x += StripLerpSpan8(dst + x, p - 1, p, end - x, shift.Frac);
    }
#endif
#if defined(__SSE2__)
    const __m128i fa = _mm_set1_epi16(static_cast<short>(shift.Frac));
    const __m128i fb = _mm_set1_epi16(static_cast<short>(StripSteps - shift.Frac));
    for (; x + 4 <= end; x += 4) {
        const std::uint32_t* p = strip + (x - shift.Whole);
        Store4(dst + x, Lerp4<7>(Load4(p - 1), Load4(p), fa, fb));
    }
#endif
    for (; x < count; ++x)
        dst[x] = pixel(x);
}

// Per-thread scratch row for vertically interpolated pictures; grows to the widest picture
// once and is reused for every frame.
std::uint32_t* ScratchRow(int width) {
    thread_local std::vector<std::uint32_t> row;
    if (static_cast<int>(row.size()) < width)
        row.resize(static_cast<size_t>(width));
    return row.data();
}

} // namespace

std::uint32_t BlendOver(std::uint32_t source, std::uint32_t destination) {
    return OverPixel(source, destination);
}

void FillRows(const TPixelTarget& target, int frameY0, int frameY1, std::uint32_t argb) {
    for (int y = frameY0; y < frameY1; ++y) {
        std::uint32_t* row = target.Row(y);
        std::fill(row, row + target.Width, argb);
    }
}

void DrawStripRows(const TPixelTarget& target, int frameY0, int frameY1, const TRasterImage& strip,
                   double x, TSampling sampling) {
    if (!strip || !std::isfinite(x) || std::fabs(x) > MaxCoordinate) {
        FillRows(target, frameY0, frameY1, White);
        return;
    }
    const TFixedPos shift = sampling == TSampling::Linear
                                ? ToFixed(x, StripSteps)
                                : TFixedPos{static_cast<int>(std::nearbyint(x)), 0};
    const int rows = std::min(frameY1, strip.Height());
    for (int y = frameY0; y < rows; ++y) {
        if (shift.Frac == 0)
            CopyStripRow(target.Row(y), target.Width, ImageRow(strip, y), strip.Width(),
                         shift.Whole);
        else
            LerpStripRow(target.Row(y), target.Width, ImageRow(strip, y), strip.Width(), shift);
    }
    FillRows(target, std::max(frameY0, rows), frameY1, White);
}

void DrawImageRows(const TPixelTarget& target, int frameY0, int frameY1, const TRasterImage& image,
                   double x, double y, TSampling sampling) {
    if (!image || !std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > MaxCoordinate ||
        std::fabs(y) > MaxCoordinate)
        return;
    TFixedPos px, py;
    if (sampling == TSampling::Linear) {
        px = ToFixed(x);
        py = ToFixed(y);
    } else {
        px.Whole = static_cast<int>(std::nearbyint(x));
        py.Whole = static_cast<int>(std::nearbyint(y));
    }
    const int w = image.Width(), h = image.Height();
    // A fractional position reaches one pixel further.
    const int cols = w + (px.Frac ? 1 : 0), rows = h + (py.Frac ? 1 : 0);
    const int rowBegin = std::max(py.Whole, frameY0), rowEnd = std::min(py.Whole + rows, frameY1);
    const int colBegin = std::max(px.Whole, 0), colEnd = std::min(px.Whole + cols, target.Width);
    if (rowBegin >= rowEnd || colBegin >= colEnd)
        return;
    const int jBegin = colBegin - px.Whole, jEnd = colEnd - px.Whole;
    for (int fy = rowBegin; fy < rowEnd; ++fy) {
        const int r = fy - py.Whole;
        const std::uint32_t* src;
        if (py.Frac == 0) {
            src = ImageRow(image, r);
        } else {
            std::uint32_t* scratch = ScratchRow(w);
            LerpRows(scratch, r >= 1 ? ImageRow(image, r - 1) : nullptr,
                     r < h ? ImageRow(image, r) : nullptr, w, py.Frac);
            src = scratch;
        }
        std::uint32_t* dst = target.Row(fy) + colBegin;
        if (px.Frac == 0)
            OverRow(dst, src + jBegin, jEnd - jBegin);
        else
            OverShiftedRow(dst, src, w, px.Frac, jBegin, jEnd);
    }
}

} // namespace kalvero
