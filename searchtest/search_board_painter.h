#pragma once

#include "engine/raster_image.h"
#include "searchtest/search_board.h"
#include "searchtest/search_picture.h"

#include <QString>
#include <array>

namespace kalvero {

// The pictures of the task: the 26 letter pictures by letter index and the optional background.
struct TSearchPictures {
    std::array<TRasterImage, SearchLetterCount> Letters;
    TRasterImage Background;
};

// Loads the pictures from the picture folder. False when any letter picture is missing or
// cannot be decoded; a missing background only leaves Background absent.
bool LoadSearchPictures(const QString& pictureFolder, TSearchPictures& pictures);

// What the cached picture of the board shows.
struct TSearchScene {
    int Width = 0;
    int Height = 0;
    double Px = 1;
    bool Running = false;
    int Target = 0;
    const TSearchItems* Items = nullptr;
    const TSearchPictures* Pictures = nullptr;
};

// Where the header "Gesucht:" and the target picture go.
struct TSearchHeaderLayout {
    double TextX = 0;
    double Baseline = 0;
    double PictureX = 0;
    double PictureY = 0;
    double PictureSize = 0;
};
TSearchHeaderLayout SearchHeaderLayout(int width, double textAdvance, double px);

// The plain colour with the background picture over it, scaled to cover the surface and
// centred. Absent when the size is not positive.
TRasterImage RenderSearchBackdrop(int width, int height, const TSearchPictures* pictures);

// The backdrop and, while running, the header and the 60 scaled letter pictures. A backdrop of
// the scene's size is used as given (it is not changed); otherwise one is made.
TRasterImage RenderSearchStatic(const TSearchScene& scene, const TRasterImage& backdrop = {});

// The marked buttons' strokes, lower left to upper right: a dark, three-quarter opaque stroke
// under a narrower yellow one, both with round ends.
void DrawSearchMarks(cairo_surface_t* target, const TSearchItems& items,
                     const TSearchGeometry& geometry);

// Copies source into target (same size; target is made anew when it differs) and draws the
// marks over it.
void ComposeSearchFrame(const TRasterImage& source, const TSearchItems& items,
                        const TSearchGeometry& geometry, TRasterImage& target);

// A picture drawn into the largest square centred in a rectangle of width x height over a
// plain colour (0xRRGGBB); used for the target letter on the instruction panel.
TRasterImage RenderCentredSquare(const TRasterImage& picture, int width, int height,
                                 unsigned backgroundRgb);

} // namespace kalvero
