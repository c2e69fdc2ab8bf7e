// The picture table: loading bitmaps, icons and decoded pictures into slots,
// and the picture control that shows a slot.
#include "files/text_file.h"
#include "window/control_kinds.h"
#include "window/layer_impl.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QStyle>

#include <cstdio>

namespace {

// The next image of the reader, unless its header claims more than a window
// can show: then nothing, before its pixels are made.
QImage ReadFitting(QImageReader& reader) {
    const QSize size = reader.size();  // from the header, when the reader can tell
    if (size.isValid() && !PictureFitsWindow(size.width(), size.height())) return QImage();
    QImage image = reader.read();
    if (!PictureFitsWindow(image.width(), image.height())) return QImage();
    return image;
}

QImage ReadWith(const QString& path, const char* format) {
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);  // this reader or none
    return ReadFitting(reader);
}

// An icon file at the platform's standard icon size: the image of that size
// when the file holds one, else its largest, scaled.
QImage ReadIcon(const QString& path) {
    const int side = QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize) : 32;
    QImageReader reader(path, "ico");
    reader.setAutoDetectImageFormat(false);
    QImage best;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        QImage image = ReadFitting(reader);
        if (image.isNull()) continue;
        if (image.width() == side && image.height() == side) return image;
        if (best.isNull() || image.width() * image.height() > best.width() * best.height()) best = image;
    }
    if (best.isNull()) return best;
    return best.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

bool WindowLayer::PictureLoad(int slot, const std::filesystem::path& file) {
    LayerState& d = *impl_;
    if (slot < 0) return false;
    if (slot >= static_cast<int>(d.pictures.size())) d.pictures.resize(slot + 10);
    d.pictures[slot] = PictureSlot{};  // empty from here until the load succeeds

    std::FILE* opened = std::fopen(file.c_str(), "rb");
    if (!opened) return false;
    unsigned char start[2] = {0, 0};
    const std::size_t got = std::fread(start, 1, 2, opened);
    std::fclose(opened);
    const QString qtPath = QString::fromStdString(file.string());

    // A bitmap, else an icon, else the first registered decoder that accepts it.
    QImage image;
    int depth = 0;
    if (got == 2 && start[0] == 'B' && start[1] == 'M') {
        image = ReadWith(qtPath, "bmp");
        depth = image.depth();
    } else if (image = ReadIcon(qtPath); !image.isNull()) {
        depth = 32;
    } else {
        for (const std::unique_ptr<PictureDecoder>& decoder : d.decoders) {
            opened = std::fopen(file.c_str(), "rb");
            if (!opened) return false;
            std::optional<PixelBuffer> pixels = DecodePicture(*decoder, opened);
            std::fclose(opened);
            if (!pixels) continue;
            image = QImage(pixels->bytes.data(), pixels->width, pixels->height,
                           static_cast<qsizetype>(pixels->rowBytes), QImage::Format_BGR888)
                        .copy();
            depth = 24;
            break;
        }
    }
    if (image.isNull()) return false;
    PictureSlot& held = d.pictures[slot];
    held.held = true;
    held.image = std::move(image);
    held.width = held.image.width();
    held.height = held.image.height();
    held.depth = depth;
    return true;
}

void WindowLayer::PictureAdd(int number, int x, int y, int /*width*/, int /*height*/, int slot) {
    LayerState& d = *impl_;
    QWidget* parent = d.NewControlParent();
    if (number < 0 || !parent) return;
    auto* picture = new QLabel(parent);
    if (slot >= 0 && slot < static_cast<int>(d.pictures.size()) && d.pictures[slot].held) {
        const PictureSlot& held = d.pictures[slot];
        picture->setPixmap(QPixmap::fromImage(held.image));
        picture->setGeometry(x, y, held.width, held.height);  // the picture's own size
    } else {
        picture->setGeometry(x, y, 0, 0);
    }
    picture->setFocusPolicy(Qt::NoFocus);
    d.Register(number, picture, PictureAdapter());
}

