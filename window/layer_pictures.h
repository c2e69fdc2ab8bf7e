// The picture table of the layer: pictures by slot and the decoders that
// read them. pictures.cpp owns it.
#pragma once

#include "window/picture_decoder.h"

#include <QImage>

#include <memory>
#include <vector>

struct PictureSlot {
    bool held = false;
    QImage image;
    int width = 0;
    int height = 0;
    int depth = 0;
};

struct PictureTable {
    std::vector<PictureSlot> pictures = std::vector<PictureSlot>(10);
    std::vector<std::unique_ptr<PictureDecoder>> decoders;
    bool jpegRegistered = false;
};
