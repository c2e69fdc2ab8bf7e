#include "window/picture_decoder.h"

std::size_t PixelRowBytes(int width) {
    if (width <= 0) return 0;
    return (std::size_t{3} * static_cast<std::size_t>(width) + 3) / 4 * 4;
}

bool PictureFitsWindow(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

std::optional<PixelBuffer> DecodePicture(PictureDecoder& decoder, std::FILE* file) {
    std::rewind(file);
    if (!decoder.Accept(file)) return std::nullopt;
    PixelBuffer picture;
    picture.width = decoder.Width();
    picture.height = decoder.Height();
    picture.rowBytes = PixelRowBytes(picture.width);
    if (!PictureFitsWindow(picture.width, picture.height)) {
        decoder.Decode(nullptr, 0);  // ends the decoding, releasing what it holds
        return std::nullopt;
    }
    picture.bytes.assign(picture.rowBytes * (static_cast<std::size_t>(picture.height) + 1), 0);
    if (!decoder.Decode(picture.bytes.data(), picture.rowBytes)) return std::nullopt;
    return picture;
}
