#include "engine/raster_image_scale.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <thread>
#include <vector>

namespace kalvero {

namespace {

// Mitchell-Netravali cubic with B = C = 1/3, support 2.
double Mitchell(double x) {
    constexpr double B = 1.0 / 3.0, C = 1.0 / 3.0;
    x = std::fabs(x);
    if (x < 1.0)
        return ((12 - 9 * B - 6 * C) * x * x * x + (-18 + 12 * B + 6 * C) * x * x + (6 - 2 * B)) /
               6.0;
    if (x < 2.0)
        return ((-B - 6 * C) * x * x * x + (6 * B + 30 * C) * x * x + (-12 * B - 48 * C) * x +
                (8 * B + 24 * C)) /
               6.0;
    return 0.0;
}

// Integral of the unit tent (linear reconstruction) from minus infinity to u.
double TentIntegral(double u) {
    if (u <= -1.0)
        return 0.0;
    if (u < 0.0)
        return (u + 1.0) * (u + 1.0) / 2.0;
    if (u < 1.0)
        return 1.0 - (1.0 - u) * (1.0 - u) / 2.0;
    return 1.0;
}

// Contributions of source pixels to each target pixel along one axis.
struct TAxisWeights {
    int Taps = 0;            // entries per target pixel
    std::vector<int> Index;  // source index per entry, clamped into the picture
    std::vector<float> Mass; // normalised weight per entry
};

// Downscaling averages the area a target pixel covers over the linearly reconstructed
// picture (the effect of linear mipmapping without its level steps); upscaling reconstructs
// with the Mitchell cubic. Positions past the edges repeat the edge pixels.
TAxisWeights AxisWeights(int sourceLength, int targetLength) {
    const double scale = static_cast<double>(sourceLength) / targetLength; // source per target
    const bool downscale = scale > 1.0;
    const double halfBox = scale / 2.0;
    const double support = downscale ? halfBox + 1.0 : 2.0;
    auto kernel = [&](double x) {
        if (!downscale)
            return Mitchell(x);
        return (TentIntegral(x + halfBox) - TentIntegral(x - halfBox)) / scale;
    };
    TAxisWeights weights;
    weights.Taps = static_cast<int>(std::ceil(2 * support)) + 1;
    weights.Index.assign(static_cast<size_t>(targetLength) * weights.Taps, 0);
    weights.Mass.assign(static_cast<size_t>(targetLength) * weights.Taps, 0.0f);
    std::vector<double> raw(weights.Taps);
    for (int i = 0; i < targetLength; ++i) {
        const double centre = (i + 0.5) * scale;
        const int first = static_cast<int>(std::floor(centre - support));
        double sum = 0.0;
        for (int t = 0; t < weights.Taps; ++t) {
            raw[t] = kernel(first + t + 0.5 - centre);
            sum += raw[t];
        }
        for (int t = 0; t < weights.Taps; ++t) {
            const size_t k = static_cast<size_t>(i) * weights.Taps + t;
            weights.Index[k] = std::clamp(first + t, 0, sourceLength - 1);
            weights.Mass[k] = static_cast<float>(sum != 0.0 ? raw[t] / sum : 0.0);
        }
    }
    return weights;
}

// One pixel's four channels, added and scaled together (GCC and Clang vector extension).
typedef float TPixel4 __attribute__((vector_size(16)));

inline TPixel4 Splat(float m) {
    return TPixel4{m, m, m, m};
}

// Rows of the source resampled horizontally, one TPixel4 per target pixel.
void HorizontalPass(const TRasterImage& source, const TAxisWeights& wx, int targetWidth,
                    int rowBegin, int rowEnd, std::vector<TPixel4>& rows) {
    std::vector<TPixel4> line(source.Width());
    for (int y = rowBegin; y < rowEnd; ++y) {
        const uint8_t* in = source.Data() + static_cast<size_t>(y) * source.Stride();
        for (int x = 0; x < source.Width(); ++x)
            line[x] = TPixel4{float(in[x * 4]), float(in[x * 4 + 1]), float(in[x * 4 + 2]),
                              float(in[x * 4 + 3])};
        TPixel4* out = rows.data() + static_cast<size_t>(y) * targetWidth;
        for (int x = 0; x < targetWidth; ++x) {
            TPixel4 acc = Splat(0.0f);
            const size_t k0 = static_cast<size_t>(x) * wx.Taps;
            for (int t = 0; t < wx.Taps; ++t)
                acc += Splat(wx.Mass[k0 + t]) * line[wx.Index[k0 + t]];
            out[x] = acc;
        }
    }
}

inline uint8_t ToByte(float value) {
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// Target rows from the horizontally resampled rows. The cubic has negative lobes: every colour
// byte is kept within its alpha so that the result stays a valid premultiplied image.
void VerticalPass(const std::vector<TPixel4>& rows, const TAxisWeights& wy, TRasterImage& target,
                  uint8_t* targetPixels, int rowBegin, int rowEnd) {
    const size_t width = static_cast<size_t>(target.Width());
    std::vector<TPixel4> acc(width);
    for (int y = rowBegin; y < rowEnd; ++y) {
        std::fill(acc.begin(), acc.end(), Splat(0.0f));
        const size_t k0 = static_cast<size_t>(y) * wy.Taps;
        for (int t = 0; t < wy.Taps; ++t) {
            const float m = wy.Mass[k0 + t];
            if (m == 0.0f)
                continue;
            const TPixel4 weight = Splat(m);
            const TPixel4* p = rows.data() + static_cast<size_t>(wy.Index[k0 + t]) * width;
            for (size_t x = 0; x < width; ++x)
                acc[x] += weight * p[x];
        }
        uint8_t* out = targetPixels + static_cast<size_t>(y) * target.Stride();
        for (size_t x = 0; x < width; ++x) {
            const uint8_t a = ToByte(acc[x][3]);
            out[x * 4 + 3] = a;
            for (int c = 0; c < 3; ++c)
                out[x * 4 + c] = std::min(ToByte(acc[x][c]), a);
        }
    }
}

// Runs work(begin, end) over [0, count), split in two halves on two threads when the work
// is large enough to be worth a thread.
template <typename TWork> void SplitRows(int count, long long cost, TWork work) {
    constexpr long long WorthAThread = 2'000'000;
    if (cost < WorthAThread || count < 2 || std::thread::hardware_concurrency() < 2) {
        work(0, count);
        return;
    }
    const int half = count / 2;
    std::thread helper([&] { work(half, count); });
    work(0, half);
    helper.join();
}

} // namespace

int ScaledLength(int length, float factor) {
    const double exact = static_cast<double>(length) * static_cast<double>(factor);
    if (!(exact < 1e9))
        return length; // not a usable size; the caller keeps the original
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long rounded = std::lrint(exact);
    std::fesetround(previous);
    return static_cast<int>(std::max(rounded, 1L));
}

TRasterImage ScaleImage(const TRasterImage& image, float s) {
    if (!image || !(s > 0.0f) || !std::isfinite(s))
        return image;
    const int w = ScaledLength(image.Width(), s);
    const int h = ScaledLength(image.Height(), s);
    if (w == image.Width() && h == image.Height())
        return image;
    TRasterImage scaled = TRasterImage::Create(w, h);
    if (!scaled)
        return image;
    std::vector<TPixel4> rows;
    try {
        rows.resize(static_cast<size_t>(image.Height()) * w);
    } catch (const std::bad_alloc&) {
        return image;
    }
    const TAxisWeights wx = AxisWeights(image.Width(), w);
    const TAxisWeights wy = AxisWeights(image.Height(), h);
    SplitRows(image.Height(), static_cast<long long>(image.Height()) * w * wx.Taps,
              [&](int begin, int end) { HorizontalPass(image, wx, w, begin, end, rows); });
    uint8_t* targetPixels = scaled.MutableData();
    SplitRows(h, static_cast<long long>(h) * w * wy.Taps, [&](int begin, int end) {
        VerticalPass(rows, wy, scaled, targetPixels, begin, end);
    });
    scaled.MarkDirty();
    return scaled;
}

} // namespace kalvero
