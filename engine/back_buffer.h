#pragma once

#include "engine/band_worker.h"
#include "engine/pixel_blit.h"
#include "engine/raster_image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kalvero {

// The first row and the number of rows of every band of a frame.
struct TBandSplit {
    std::vector<int> Y;
    std::vector<int> H;
};

// Bands for a frame of the given height: one per logical processor, limited to 1 .. 8, each
// (height + n - 1) div n rows high, the last one shorter; a low frame gets fewer bands. With
// one processor there are no bands at all (the frame is drawn in one go).
TBandSplit SplitIntoBands(int height, int processors);

// The logical processors of this machine, at least 1.
int LogicalProcessors();

// The back buffer: one aligned width x height x 4 byte buffer of premultiplied 32-bit pixels,
// rows top to bottom without padding, a Cairo surface over all of it, a surface over the rows of
// every band and one worker per band except band 0.
class TBackBuffer {
public:
    // processors: the logical processors to plan bands for; 0 asks the machine.
    explicit TBackBuffer(int processors = 0);
    ~TBackBuffer();
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;

    // Makes sure a back buffer of exactly width x height exists, with its bands and workers
    // (the workers run bandProc). Any failure leaves no back buffer; a band surface that cannot
    // be made leaves the buffer without bands and workers.
    void EnsureBackBuffer(int width, int height, const std::shared_ptr<const TBandProc>& bandProc);
    // Stops the workers and drops bands, surface and memory.
    void ReleaseBackBuffer();

    bool HasSurface() const { return static_cast<bool>(FBackSurface); }
    // The whole buffer, or one band, as pixel rows to draw into.
    TPixelTarget WholeTarget() const;
    TPixelTarget BandTarget(int index) const;
    // A Cairo context on the whole buffer for the overlays (null without a buffer).
    cairo_t* Context() const;
    // Cairo's view of the memory must be flushed before and marked dirty after pixels are
    // written directly.
    void BeginDirectWrites() const;
    void EndDirectWrites() const;

    int Processors() const { return FProcessors; }
    int BandCount() const { return static_cast<int>(FBands.size()); }

    std::uint8_t* FBackBits = nullptr;
    int FBackW = 0;
    int FBackH = 0;
    TRasterImage FBackSurface;
    std::vector<TRasterImage> FBands;
    std::vector<int> FBandY;
    std::vector<int> FBandH;
    std::vector<std::unique_ptr<TBandWorker>> FWorkers;

private:
    bool AllocatePixels(int width, int height);
    void MakeBands(int width, int height);

    int FProcessors;
    std::unique_ptr<TCairoContext> FContext;
};

} // namespace kalvero
