#pragma once

namespace kalvero {

// Composition of one frame into the back buffer, as the frame loop uses it.
class TFrameComposer {
public:
    virtual ~TFrameComposer() = default;
    // Makes sure a back buffer of width x height exists (re-creating it on a size change).
    virtual void EnsureBackBuffer(int width, int height) = 0;
    // Whether there is a back-buffer surface (creating it may have failed).
    virtual bool HasBackBuffer() const = 0;
    virtual int BackWidth() const = 0;  // FBackW
    virtual int BackHeight() const = 0; // FBackH
    // Composes the frame on the back buffer, with or without the band workers.
    virtual void DrawFrame(bool allowBandWorkers, int width, int height) = 0;
    // Number of band workers besides the calling thread.
    virtual int BandWorkerCount() const = 0;
};

} // namespace kalvero
