#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace kalvero::art {

// One folder of frame pictures: "<Folder>/1.png" .. "<Folder>/<Count>.png", each Width x Height,
// drawn on a transparent canvas facing left. Draw gets the frame index 0 .. Count - 1.
struct TFrameSet {
    std::string Folder;
    int Count;
    int Width;
    int Height;
    std::function<void(cairo_t*, int)> Draw;
    bool UsesText = false; // drawn on one thread only
};

std::vector<TFrameSet> AnimalSets(); // Hummel, Fisch, Schmetterling, schmetterling2, Vogel
std::vector<TFrameSet> ThingSets();  // Auto, Flugzeug, Blasen, Ballon, Heißluftballon, Rakete,
                                     // Sphere
std::vector<TFrameSet> SymbolSets(); // Alphabet, Ziffern, Smiley
std::vector<TFrameSet> OtherSets();  // Verfolger, Stern, Drache, Alertness

constexpr int BackgroundCount = 72;
constexpr int BackgroundWidth = 1024;
constexpr int BackgroundHeight = 768;
// Background number 1 .. 72 on a 1024 x 768 canvas; the pictures repeat seamlessly sideways.
void DrawBackground(cairo_t* cr, int number);
std::string BackgroundTitle(int number);

// "welldone.mp3" and "error.mp3" into a folder (with trailing separator).
void WriteSounds(const std::string& folder);

} // namespace kalvero::art
