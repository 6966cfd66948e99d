#include "engine/back_buffer.h"

#include <algorithm>
#include <cairo.h>
#include <cstdlib>
#include <thread>

namespace kalvero {

namespace {
constexpr int MaxBands = 8;
constexpr size_t BufferAlignment = 64;
constexpr long long MaxBufferBytes = 1LL << 31;

TRasterImage SurfaceOver(std::uint8_t* pixels, int width, int height) {
    return TRasterImage::Adopt(
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, width * 4));
}
} // namespace

int LogicalProcessors() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

TBandSplit SplitIntoBands(int height, int processors) {
    TBandSplit split;
    const int n = std::clamp(processors, 1, MaxBands);
    if (n == 1 || height <= 0)
        return split;
    const int bandHeight = (height + n - 1) / n;
    for (int y = 0; y < height;) {
        const int h = std::min(bandHeight, height - y);
        split.Y.push_back(y);
        split.H.push_back(h);
        y += h;
    }
    return split;
}

TBackBuffer::TBackBuffer(int processors)
    : FProcessors(processors > 0 ? processors : LogicalProcessors()) {}

TBackBuffer::~TBackBuffer() {
    ReleaseBackBuffer();
}

void TBackBuffer::EnsureBackBuffer(int width, int height,
                                   const std::shared_ptr<const TBandProc>& bandProc) {
    if (FBackBits && FBackW == width && FBackH == height)
        return;
    ReleaseBackBuffer();
    if (width <= 0 || height <= 0 || !AllocatePixels(width, height))
        return;
    FBackW = width;
    FBackH = height;
    FBackSurface = SurfaceOver(FBackBits, width, height);
    if (FBackSurface)
        FContext = std::make_unique<TCairoContext>(FBackSurface);
    if (!FBackSurface || !FContext->Ok()) {
        ReleaseBackBuffer();
        return;
    }
    MakeBands(width, height);
    for (int i = 1; i < BandCount(); ++i)
        FWorkers.push_back(std::make_unique<TBandWorker>(i, bandProc));
}

bool TBackBuffer::AllocatePixels(int width, int height) {
    const long long bytes = 4LL * width * height;
    if (bytes > MaxBufferBytes)
        return false;
    const size_t rounded =
        (static_cast<size_t>(bytes) + BufferAlignment - 1) / BufferAlignment * BufferAlignment;
    FBackBits = static_cast<std::uint8_t*>(std::aligned_alloc(BufferAlignment, rounded));
    return FBackBits != nullptr;
}

void TBackBuffer::MakeBands(int width, int height) {
    const TBandSplit split = SplitIntoBands(height, FProcessors);
    for (size_t i = 0; i < split.Y.size(); ++i) {
        TRasterImage band =
            SurfaceOver(FBackBits + static_cast<size_t>(split.Y[i]) * width * 4, width, split.H[i]);
        if (!band) {
            FBands.clear();
            FBandY.clear();
            FBandH.clear();
            return;
        }
        FBands.push_back(std::move(band));
        FBandY.push_back(split.Y[i]);
        FBandH.push_back(split.H[i]);
    }
}

void TBackBuffer::ReleaseBackBuffer() {
    FWorkers.clear(); // each worker ends its thread before it goes
    FBands.clear();
    FBandY.clear();
    FBandH.clear();
    FContext.reset();
    FBackSurface = {};
    std::free(FBackBits);
    FBackBits = nullptr;
    FBackW = 0;
    FBackH = 0;
}

TPixelTarget TBackBuffer::WholeTarget() const {
    return {FBackBits, FBackW * 4, FBackW, FBackH, 0};
}

TPixelTarget TBackBuffer::BandTarget(int index) const {
    return {FBackBits + static_cast<size_t>(FBandY[index]) * FBackW * 4, FBackW * 4, FBackW,
            FBandH[index], FBandY[index]};
}

cairo_t* TBackBuffer::Context() const {
    return FContext ? FContext->Get() : nullptr;
}

void TBackBuffer::BeginDirectWrites() const {
    if (FBackSurface)
        cairo_surface_flush(FBackSurface.Surface());
}

void TBackBuffer::EndDirectWrites() const {
    if (FBackSurface)
        cairo_surface_mark_dirty(FBackSurface.Surface());
}

} // namespace kalvero
