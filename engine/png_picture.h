#pragma once

#include "engine/raster_image.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace kalvero {

// A decoded frame picture: 8-bit colour bytes per pixel in the order blue, green, red, followed
// by the pixel's alpha (straight, not premultiplied). Whatever the file held (palette, grey,
// 16 bits, with or without alpha) is converted to this form on decoding.
struct TPngPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels; // Width * Height * 4 bytes, rows top to bottom

    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Decodes a PNG from memory. False (and an empty picture) when the data is not a PNG that can be
// decoded completely.
bool DecodePng(const QByteArray& data, TPngPicture& picture);
// Reads and decodes a PNG file; a missing or undecodable file gives false.
bool DecodePngFile(const QString& path, TPngPicture& picture);

// Encodes a picture as an 8-bit RGBA PNG; empty on failure.
QByteArray EncodePng(const TPngPicture& picture);

// The picture mirrored horizontally: on every row the pixels at x and width - 1 - x change
// places (colour and alpha alike).
TPngPicture MirrorPng(const TPngPicture& picture);

// Channel swaps on the colour bytes; alpha is never touched.
enum TChannelSwap : int {
    csRedGreen = 1,
    csBlueGreen = 2,
    csRedBlue = 3,
};
// The picture with the two colour bytes named by the swap number exchanged on every pixel;
// any other number gives an unchanged copy.
TPngPicture SwapColourChannels(const TPngPicture& picture, int swap);

// The drawable image of a picture: the same pixels, premultiplied. Absent for an empty picture
// or when memory fails. Lossless: every pixel keeps its alpha, and its colour up to the
// precision premultiplication leaves.
TRasterImage PngToSkImage(const TPngPicture& picture);

} // namespace kalvero
