#include "engine/raster_image_decode.h"

#include "engine/png_picture.h"
#include "platform/atomic_file.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace kalvero {

namespace {

constexpr JDIMENSION MaxSide = 16384;

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->Jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// The libjpeg part; errors jump back here, so no objects with destructors live in this frame.
// The image is made by the caller once the size is known.
bool ReadJpeg(jpeg_decompress_struct& info, TJpegError& error, const QByteArray& data,
              TRasterImage& image) {
    if (setjmp(error.Jump))
        return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA; // the byte order of the images, alpha set to 255
    jpeg_start_decompress(&info);
    if (info.output_width == 0 || info.output_height == 0 || info.output_width > MaxSide ||
        info.output_height > MaxSide || info.output_components != 4)
        return false;
    image = TRasterImage::Create(static_cast<int>(info.output_width),
                                 static_cast<int>(info.output_height));
    if (!image)
        return false;
    uint8_t* pixels = image.MutableData();
    const int stride = image.Stride();
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool IsPng(const QByteArray& data) {
    return data.startsWith(QByteArray::fromRawData("\x89PNG\r\n\x1a\n", 8));
}

} // namespace

TRasterImage DecodeJpeg(const QByteArray& data) {
    if (data.size() < 4)
        return {};
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JumpOnError;
    error.Manager.output_message = IgnoreMessage;
    jpeg_create_decompress(&info);
    TRasterImage image;
    const bool ok = ReadJpeg(info, error, data, image);
    jpeg_destroy_decompress(&info);
    if (!ok)
        return {};
    image.MarkDirty();
    return image;
}

TRasterImage DecodeImageFile(const QString& path) {
    QByteArray data;
    if (!ReadWholeFile(path, data))
        return {};
    if (IsPng(data)) {
        TPngPicture picture;
        return DecodePng(data, picture) ? PngToSkImage(picture) : TRasterImage();
    }
    return DecodeJpeg(data);
}

} // namespace kalvero
