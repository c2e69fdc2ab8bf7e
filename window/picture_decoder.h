// Picture decoders: the entries of the picture service's decoder list, and the
// pixel buffer they fill.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <vector>

// One decoder of the list. Accept is given the file at its beginning; a
// decoder that accepts is then asked for its size and to decode.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // Whether the file can be decoded; prepares the decoding when it can.
    virtual bool Accept(std::FILE* file) = 0;
    // Width and height in pixels of the accepted picture.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Fills the rows of pixels, top to bottom, rowBytes apart, each pixel as
    // blue, green, red. Ends the decoding whether or not it succeeds.
    virtual bool Decode(unsigned char* pixels, std::size_t rowBytes) = 0;
};

// Bytes in one row of a pixel buffer: 3 per pixel, rounded up to a multiple
// of 4 (a width of 5 gives 16).
std::size_t PixelRowBytes(int width);

// A decoded picture: height rows of rowBytes bytes (blue, green, red, then
// zero filler), with room for one row more.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::size_t rowBytes = 0;
    std::vector<unsigned char> bytes;  // rowBytes * (height + 1)
};

// The largest picture a window can show: at most 8,192 pixels on a side and
// 40 million pixels. A file that claims a bigger one is refused as an
// unreadable picture, from its header, before any pixel is made.
inline constexpr long long kMaxPictureSide = 8192;
inline constexpr long long kMaxPicturePixels = 40'000'000;
bool PictureFitsWindow(long long width, long long height);

// Largest picture file read into memory (a window-sized picture is far
// smaller).
inline constexpr std::size_t kMaxPictureFileBytes = std::size_t{128} << 20;

// Offers the file to the decoder and, when it accepts, decodes it into a new
// buffer. Nothing when the decoder refuses or fails.
std::optional<PixelBuffer> DecodePicture(PictureDecoder& decoder, std::FILE* file);
