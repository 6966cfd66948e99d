#pragma once

#include "engine/raster_image.h"

#include <QByteArray>
#include <QString>

namespace kalvero {

// Decodes a JPEG straight into an opaque image; absent when the data cannot be decoded.
TRasterImage DecodeJpeg(const QByteArray& data);

// Decodes a JPEG or PNG (told apart by their signatures) into an image; absent for a missing
// file or one that cannot be decoded.
TRasterImage DecodeImageFile(const QString& path);

} // namespace kalvero
