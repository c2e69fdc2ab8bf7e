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

// Largest pixel buffer made for a picture; a file that claims more is refused
// rather than exhausting memory.
inline constexpr std::size_t kMaxPixelBufferBytes = std::size_t{512} << 20;

// Offers the file to the decoder and, when it accepts, decodes it into a new
// buffer. Nothing when the decoder refuses or fails.
std::optional<PixelBuffer> DecodePicture(PictureDecoder& decoder, std::FILE* file);
