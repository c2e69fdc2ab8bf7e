// Any bytes as a picture file, through the JPEG decoder as the picture
// service offers it: refused, or decoded into a buffer of a size a window
// can show, without reading or writing beyond what was made.
#include "window/jpeg_decoder.h"
#include "window/picture_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    static std::unique_ptr<PictureDecoder> decoder = MakeJpegDecoder();  // one, used again, as in the program
    const std::optional<PixelBuffer> picture = DecodePicture(*decoder, file);
    std::fclose(file);
    if (!picture) return 0;
    Require(PictureFitsWindow(picture->width, picture->height));
    Require(picture->rowBytes == PixelRowBytes(picture->width));
    Require(picture->bytes.size() == picture->rowBytes * (static_cast<std::size_t>(picture->height) + 1));
    return 0;
}
