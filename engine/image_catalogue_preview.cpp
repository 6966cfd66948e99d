#include "engine/image_catalogue_preview.h"

#include <QImage>
#include <cstring>

namespace kalvero {

QImage SkImageToBitmap(const TRasterImage& image) {
    if (!image)
        return {};
    QImage bitmap(image.Width(), image.Height(), QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    const size_t rowBytes = static_cast<size_t>(image.Width()) * 4;
    for (int y = 0; y < image.Height(); ++y)
        std::memcpy(bitmap.scanLine(y), image.Data() + static_cast<size_t>(y) * image.Stride(),
                    rowBytes);
    return bitmap;
}

} // namespace kalvero
