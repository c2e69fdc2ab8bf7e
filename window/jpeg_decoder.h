// The JPEG entry of the picture decoder list, on libjpeg's 6b interface.
//
// The whole file is read into memory and is the decoder's only data source;
// when the data end early an end-of-picture marker is supplied and decoding
// goes on (libjpeg fills the rest), without any message. Grayscale pictures
// come out as RGB; CMYK pictures are turned into RGB as well, so every pixel
// fits the three bytes of the buffer. Every libjpeg error returns to the
// caller as a refusal, with everything released.
#pragma once

#include "window/picture_decoder.h"

#include <memory>

std::unique_ptr<PictureDecoder> MakeJpegDecoder();
