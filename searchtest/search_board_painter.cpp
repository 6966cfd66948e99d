#include "searchtest/search_board_painter.h"

#include "engine/raster_image_decode.h"

#include <algorithm>
#include <cairo.h>
#include <cstring>

namespace kalvero {

namespace {

const char* const HeaderText = "Gesucht:";

void SetRgb(cairo_t* cr, unsigned rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

void SetArgb(cairo_t* cr, unsigned argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
}

void Fill(cairo_surface_t* target, unsigned rgb) {
    cairo_t* cr = cairo_create(target);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetRgb(cr, rgb);
    cairo_paint(cr);
    cairo_destroy(cr);
}

void DrawBackground(cairo_surface_t* target, const TRasterImage& background, int w, int h) {
    if (!background || background.Width() <= 0 || background.Height() <= 0)
        return;
    const double scale = std::max(static_cast<double>(w) / background.Width(),
                                  static_cast<double>(h) / background.Height());
    const double bw = background.Width() * scale;
    const double bh = background.Height() * scale;
    DrawPictureScaled(target, background.Surface(), (w - bw) / 2, (h - bh) / 2, bw, bh);
}

void SelectHeaderFont(cairo_t* cr, double px) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 26 * px);
}

void DrawHeader(cairo_surface_t* target, const TSearchScene& scene) {
    cairo_t* cr = cairo_create(target);
    SelectHeaderFont(cr, scene.Px);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, HeaderText, &extents);
    const TSearchHeaderLayout layout = SearchHeaderLayout(scene.Width, extents.x_advance, scene.Px);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    SetRgb(cr, 0xF0F0F0);
    cairo_move_to(cr, layout.TextX, layout.Baseline);
    cairo_show_text(cr, HeaderText);
    cairo_destroy(cr);

    const TRasterImage& picture = scene.Pictures->Letters[ClampSearchLetter(scene.Target)];
    DrawPictureScaled(target, picture.Surface(), layout.PictureX, layout.PictureY,
                      layout.PictureSize, layout.PictureSize);
}

void DrawButtons(cairo_surface_t* target, const TSearchScene& scene) {
    const TSearchGeometry g = SearchGeometry(scene.Width, scene.Height, scene.Px);
    const double d = g.Diameter;
    for (const TSearchItem& item : *scene.Items) {
        const TSearchPoint c = g.Centre(item);
        const TRasterImage& picture = scene.Pictures->Letters[ClampSearchLetter(item.Letter)];
        DrawPictureScaled(target, picture.Surface(), c.X - d / 2, c.Y - d / 2, d, d);
    }
}

void StrokeMark(cairo_t* cr, const TSearchPoint& c, double d, double width, unsigned argb) {
    cairo_set_line_width(cr, width * d);
    SetArgb(cr, argb);
    cairo_move_to(cr, c.X - 0.42 * d, c.Y + 0.42 * d);
    cairo_line_to(cr, c.X + 0.42 * d, c.Y - 0.42 * d);
    cairo_stroke(cr);
}

} // namespace

bool LoadSearchPictures(const QString& pictureFolder, TSearchPictures& pictures) {
    for (int i = 0; i < SearchLetterCount; ++i) {
        pictures.Letters[i] = DecodeImageFile(LetterImageFile(i, pictureFolder));
        if (!pictures.Letters[i])
            return false;
    }
    pictures.Background = DecodeImageFile(SearchBackgroundFile(pictureFolder));
    return true;
}

TSearchHeaderLayout SearchHeaderLayout(int width, double textAdvance, double px) {
    TSearchHeaderLayout layout;
    const double gap = 12 * px;
    layout.PictureSize = 70 * px - 14 * px;
    const double group = textAdvance + gap + layout.PictureSize;
    layout.TextX = (width - group) / 2;
    layout.Baseline = 70 * px / 2 + 9 * px;
    layout.PictureX = layout.TextX + textAdvance + gap;
    layout.PictureY = 7 * px;
    return layout;
}

TRasterImage RenderSearchBackdrop(int width, int height, const TSearchPictures* pictures) {
    TRasterImage picture = TRasterImage::Create(width, height);
    if (!picture)
        return picture;
    Fill(picture.Surface(), 0x28282C);
    if (pictures)
        DrawBackground(picture.Surface(), pictures->Background, width, height);
    cairo_surface_flush(picture.Surface());
    return picture;
}

TRasterImage RenderSearchStatic(const TSearchScene& scene, const TRasterImage& backdrop) {
    const bool fits =
        backdrop && backdrop.Width() == scene.Width && backdrop.Height() == scene.Height;
    TRasterImage picture = fits ? CopyImage(backdrop)
                                : RenderSearchBackdrop(scene.Width, scene.Height, scene.Pictures);
    if (!picture)
        return picture;
    if (scene.Running && scene.Pictures && scene.Items) {
        DrawHeader(picture.Surface(), scene);
        DrawButtons(picture.Surface(), scene);
    }
    cairo_surface_flush(picture.Surface());
    return picture;
}

void DrawSearchMarks(cairo_surface_t* target, const TSearchItems& items,
                     const TSearchGeometry& geometry) {
    cairo_t* cr = cairo_create(target);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const TSearchItem& item : items) {
        if (!item.Marked)
            continue;
        const TSearchPoint c = geometry.Centre(item);
        StrokeMark(cr, c, geometry.Diameter, 0.17, 0xC0101010);
        StrokeMark(cr, c, geometry.Diameter, 0.11, 0xFFFFD200);
    }
    cairo_destroy(cr);
    cairo_surface_flush(target);
}

void ComposeSearchFrame(const TRasterImage& source, const TSearchItems& items,
                        const TSearchGeometry& geometry, TRasterImage& target) {
    if (!source)
        return;
    if (!target || target.Width() != source.Width() || target.Height() != source.Height())
        target = TRasterImage::Create(source.Width(), source.Height());
    if (!target)
        return;
    cairo_surface_flush(source.Surface());
    std::memcpy(target.MutableData(), source.Data(),
                static_cast<std::size_t>(source.Stride()) * source.Height());
    target.MarkDirty();
    DrawSearchMarks(target.Surface(), items, geometry);
}

TRasterImage RenderCentredSquare(const TRasterImage& picture, int width, int height,
                                 unsigned backgroundRgb) {
    TRasterImage result = TRasterImage::Create(width, height);
    if (!result)
        return result;
    Fill(result.Surface(), backgroundRgb);
    const double side = std::min(width, height);
    DrawPictureScaled(result.Surface(), picture.Surface(), (width - side) / 2, (height - side) / 2,
                      side, side);
    cairo_surface_flush(result.Surface());
    return result;
}

} // namespace kalvero
