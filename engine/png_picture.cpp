#include "engine/png_picture.h"

#include "platform/atomic_file.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace kalvero {

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr png_uint_32 MaxSide = 16384;
constexpr size_t MaxPixels = size_t(1) << 26;

struct TMemoryReader {
    const uint8_t* Data;
    size_t Size;
    size_t Pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<TMemoryReader*>(png_get_io_ptr(png));
    if (reader->Size - reader->Pos < count)
        png_error(png, "truncated");
    std::memcpy(out, reader->Data + reader->Pos, count);
    reader->Pos += count;
}

[[noreturn]] void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Sets up the conversions that turn every kind of PNG into 8-bit blue-green-red-alpha rows.
void RequestBgra8(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency)
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// The libpng part; libpng reports errors by a jump back here, so this function holds no objects
// with destructors of its own.
bool ReadRows(png_structp png, png_infop info, TMemoryReader& reader, TPngPicture& picture,
              std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_set_user_limits(png, MaxSide, MaxSide);
    png_read_info(png, info);
    RequestBgra8(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || size_t(width) * height > MaxPixels ||
        png_get_rowbytes(png, info) != size_t(width) * 4)
        return false;
    picture.Pixels.resize(size_t(width) * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = picture.Pixels.data() + size_t(y) * width * 4;
    png_read_image(png, rows.data());
    picture.Width = static_cast<int>(width);
    picture.Height = static_cast<int>(height);
    return true;
}

void AppendToByteArray(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
}

void NoFlush(png_structp) {}

bool WriteRows(png_structp png, png_infop info, const TPngPicture& picture, QByteArray& out,
               std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, AppendToByteArray, NoFlush);
    png_set_IHDR(png, info, picture.Width, picture.Height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

inline uint32_t Premultiplied(const uint8_t* bgra) {
    const uint32_t a = bgra[3];
    if (a == 255)
        return 0xFF000000u | uint32_t(bgra[2]) << 16 | uint32_t(bgra[1]) << 8 | bgra[0];
    if (a == 0)
        return 0;
    auto scale = [a](uint32_t c) {
        const uint32_t t = c * a + 128;
        return (t + (t >> 8)) >> 8;
    };
    return a << 24 | scale(bgra[2]) << 16 | scale(bgra[1]) << 8 | scale(bgra[0]);
}

} // namespace

bool DecodePng(const QByteArray& data, TPngPicture& picture) {
    picture = {};
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    if (data.size() < 8 || png_sig_cmp(bytes, 0, 8) != 0)
        return false;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    TMemoryReader reader{bytes, static_cast<size_t>(data.size()), 0};
    std::vector<png_bytep> rows;
    const bool ok = info && ReadRows(png, info, reader, picture, rows);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!ok)
        picture = {};
    return ok;
}

bool DecodePngFile(const QString& path, TPngPicture& picture) {
    QByteArray data;
    if (!ReadWholeFile(path, data)) {
        picture = {};
        return false;
    }
    return DecodePng(data, picture);
}

QByteArray EncodePng(const TPngPicture& picture) {
    if (picture.Empty() ||
        picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height) * 4)
        return {};
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(picture.Height);
    for (int y = 0; y < picture.Height; ++y)
        rows[y] = const_cast<png_bytep>(picture.Pixels.data() + size_t(y) * picture.Width * 4);
    QByteArray out;
    const bool ok = info && WriteRows(png, info, picture, out, rows);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return ok ? out : QByteArray();
}

TPngPicture MirrorPng(const TPngPicture& picture) {
    TPngPicture mirrored = picture;
    const size_t rowBytes = size_t(picture.Width) * 4;
    for (int y = 0; y < picture.Height; ++y) {
        uint8_t* row = mirrored.Pixels.data() + size_t(y) * rowBytes;
        for (int x = 0; x < picture.Width / 2; ++x)
            std::swap_ranges(row + x * 4, row + x * 4 + 4, row + (picture.Width - 1 - x) * 4);
    }
    return mirrored;
}

TPngPicture SwapColourChannels(const TPngPicture& picture, int swap) {
    // Byte offsets inside a pixel: 0 blue, 1 green, 2 red.
    int first, second;
    switch (swap) {
    case csRedGreen:
        first = 2, second = 1;
        break;
    case csBlueGreen:
        first = 0, second = 1;
        break;
    case csRedBlue:
        first = 2, second = 0;
        break;
    default:
        return picture;
    }
    TPngPicture swapped = picture;
    for (size_t i = 0; i + 3 < swapped.Pixels.size(); i += 4)
        std::swap(swapped.Pixels[i + first], swapped.Pixels[i + second]);
    return swapped;
}

TRasterImage PngToSkImage(const TPngPicture& picture) {
    if (picture.Empty() ||
        picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height) * 4)
        return {};
    TRasterImage image = TRasterImage::Create(picture.Width, picture.Height);
    if (!image)
        return {};
    uint8_t* data = image.MutableData();
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* source = picture.Pixels.data() + size_t(y) * picture.Width * 4;
        auto* target = reinterpret_cast<uint32_t*>(data + size_t(y) * image.Stride());
        for (int x = 0; x < picture.Width; ++x)
            target[x] = Premultiplied(source + x * 4);
    }
    image.MarkDirty();
    return image;
}

} // namespace kalvero
