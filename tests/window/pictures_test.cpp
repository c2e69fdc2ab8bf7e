#include "window_test_support.h"

#include "window/jpeg_decoder.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>

#include <jpeglib.h>

namespace {

struct Colour {
    int r, g, b;
};

// A JPEG of one colour, made with libjpeg's compressor.
std::vector<std::uint8_t> MakeJpeg(int width, int height, Colour colour, bool grayscale = false,
                                   bool progressive = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grayscale ? 1 : 3;
    info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * info.input_components);
    for (int x = 0; x < width; ++x) {
        if (grayscale) {
            row[x] = static_cast<JSAMPLE>(colour.r);
        } else {
            row[3 * x] = static_cast<JSAMPLE>(colour.r);
            row[3 * x + 1] = static_cast<JSAMPLE>(colour.g);
            row[3 * x + 2] = static_cast<JSAMPLE>(colour.b);
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

std::optional<PixelBuffer> Decode(const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);  // an empty vector's data may be null
    std::unique_ptr<PictureDecoder> decoder = MakeJpegDecoder();
    std::optional<PixelBuffer> picture = DecodePicture(*decoder, file);
    std::fclose(file);
    return picture;
}

void ExpectNear(int actual, int expected, const char* what) {
    EXPECT_NEAR(actual, expected, 6) << what;
}

TEST(JpegDecoder, RowsAreBlueGreenRedPaddedToFourBytesWithRoomForOneMore) {
    std::optional<PixelBuffer> picture = Decode(MakeJpeg(5, 3, {230, 120, 20}));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 5);
    EXPECT_EQ(picture->height, 3);
    EXPECT_EQ(picture->rowBytes, 16u);
    EXPECT_EQ(picture->bytes.size(), 16u * 4);
    for (int y = 0; y < 3; ++y) {
        const unsigned char* row = picture->bytes.data() + y * 16;
        ExpectNear(row[0], 20, "blue first");
        ExpectNear(row[1], 120, "green");
        ExpectNear(row[2], 230, "red last");
        EXPECT_EQ(row[15], 0) << "filler";
    }
    EXPECT_EQ(PixelRowBytes(1), 4u);
    EXPECT_EQ(PixelRowBytes(4), 12u);
    EXPECT_EQ(PixelRowBytes(1020), 3060u);
}

TEST(JpegDecoder, AGrayscalePictureComesOutAsEqualBlueGreenAndRed) {
    std::optional<PixelBuffer> picture = Decode(MakeJpeg(16, 8, {90, 0, 0}, true));
    ASSERT_TRUE(picture);
    const unsigned char* pixel = picture->bytes.data() + 3 * picture->rowBytes + 9;
    ExpectNear(pixel[0], 90, "blue");
    EXPECT_EQ(pixel[0], pixel[1]);
    EXPECT_EQ(pixel[1], pixel[2]);
}

TEST(JpegDecoder, APictureWhoseDataEndEarlyIsDecodedToItsFullSize) {
    std::vector<std::uint8_t> bytes = MakeJpeg(64, 48, {10, 200, 10});
    // Cut halfway through the compressed data that follow the scan header.
    std::size_t scan = 0;
    while (scan + 1 < bytes.size() && !(bytes[scan] == 0xFF && bytes[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 20, bytes.size());
    bytes.resize(scan + 14 + (bytes.size() - scan - 14) / 2);
    std::optional<PixelBuffer> picture = Decode(bytes);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 64);
    EXPECT_EQ(picture->height, 48);
}

TEST(JpegDecoder, DamagedOrForeignFilesAreRefused) {
    std::vector<std::uint8_t> good = MakeJpeg(8, 8, {1, 2, 3});
    std::vector<std::uint8_t> damaged = good;
    for (std::size_t i = 2; i < 40; ++i) damaged[i] = 0x55;  // FF D8, then no markers
    std::vector<std::uint8_t> onlyStart = {0xFF, 0xD8};
    std::vector<std::uint8_t> notJpeg = {'G', 'I', 'F', '8', '9', 'a'};
    std::vector<std::uint8_t> empty;
    for (const auto* bytes : {&damaged, &onlyStart, &notJpeg, &empty}) EXPECT_FALSE(Decode(*bytes));
    // The decoder is used again after a refusal.
    EXPECT_TRUE(Decode(good));
}

// The same JPEG with other sizes in its frame header: a small file that
// claims a big picture.
std::vector<std::uint8_t> ClaimSize(std::vector<std::uint8_t> jpeg, int width, int height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(JpegDecoder, APictureBeyondWhatAWindowCanShowIsRefusedBeforeItsPixelsAreMade) {
    const long peakBefore = PeakKilobytes();
    for (bool progressive : {false, true}) {
        const std::vector<std::uint8_t> small = MakeJpeg(16, 16, {200, 100, 50}, false, progressive);
        ASSERT_LT(small.size(), 1000u);
        struct Case {
            int width, height;
            bool shown;
        } cases[] = {
            {13000, 13000, false}, {8193, 16, false}, {16, 8193, false}, {6400, 6400, false},
            {8192, 16, true},      {16, 8192, true},  {6000, 6000, true},
        };
        for (const Case& c : cases) {
            std::optional<PixelBuffer> picture = Decode(ClaimSize(small, c.width, c.height));
            EXPECT_EQ(picture.has_value(), c.shown) << c.width << " x " << c.height << (progressive ? " progressive" : "");
            if (picture) {
                EXPECT_EQ(picture->width, c.width);
            }
        }
    }
    // The biggest picture shown takes about 108 MB; a refused one takes nothing.
    EXPECT_LT(PeakKilobytes() - peakBefore, 400 * 1024) << "a refused picture's pixels were made";
}

class PictureTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        w.RegisterJpegDecoder();
        w.RegisterJpegDecoder();  // no second entry
        WriteBytes(TestFolder() / "sunset.jpg", MakeJpeg(100, 83, {250, 120, 40}));
    }
    std::string Path(const char* name) { return (TestFolder() / name).string(); }
    // A picture of one colour saved by the toolkit's writer of that format.
    void SaveFilled(const char* name, const char* format, int width, int height, Qt::GlobalColor colour,
                    QImage::Format pixels = QImage::Format_RGB32) {
        QImage image(width, height, pixels);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(Path(name)), format)) << name;
    }
};

TEST_F(PictureTest, AMissingFileEmptiesTheSlotEvenAfterAnEarlierSuccess) {
    ASSERT_TRUE(w.PictureLoad(0, Path("sunset.jpg")));
    WindowLayerTesting::PictureFacts facts = t.PictureInSlot(0);
    EXPECT_TRUE(facts.held);
    EXPECT_EQ(facts.width, 100);
    EXPECT_EQ(facts.height, 83);
    EXPECT_EQ(facts.depth, 24);

    EXPECT_FALSE(w.PictureLoad(0, Path("Zeitzonenkarte.jpg")));
    EXPECT_FALSE(t.PictureInSlot(0).held);

    std::vector<std::uint8_t> damaged = {0xFF, 0xD8, 0x00, 0x11, 0x22, 0x33};
    WriteBytes(TestFolder() / "damaged.jpg", damaged);
    ASSERT_TRUE(w.PictureLoad(0, Path("sunset.jpg")));
    EXPECT_FALSE(w.PictureLoad(0, Path("damaged.jpg")));
    EXPECT_FALSE(t.PictureInSlot(0).held);
}

TEST_F(PictureTest, BitmapsAndIconsGoThroughTheToolkitsReaders) {
    SaveFilled("small.bmp", "BMP", 7, 5, Qt::red);
    SaveFilled("small.ico", "ICO", 16, 16, Qt::blue, QImage::Format_ARGB32);

    ASSERT_TRUE(w.PictureLoad(12, Path("small.bmp")));  // beyond the first ten slots
    EXPECT_EQ(t.PictureInSlot(12).width, 7);
    EXPECT_EQ(t.PictureInSlot(12).height, 5);
    ASSERT_TRUE(w.PictureLoad(1, Path("small.ico")));
    EXPECT_EQ(t.PictureInSlot(1).width, 32);  // the standard icon size
    EXPECT_EQ(t.PictureInSlot(1).depth, 32);

    WriteBytes(TestFolder() / "text.jpg", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(w.PictureLoad(1, Path("text.jpg")));
    EXPECT_FALSE(t.PictureInSlot(1).held);
    EXPECT_FALSE(w.PictureLoad(-1, Path("sunset.jpg")));
}

TEST_F(PictureTest, BitmapsAndJpegsBeyondWhatAWindowCanShowAreUnreadable) {
    SaveFilled("wide.bmp", "BMP", 8193, 1, Qt::green);
    SaveFilled("widest.bmp", "BMP", 8192, 1, Qt::green);
    // A bitmap header claiming 13,000 x 13,000 pixels with no pixels behind it.
    std::vector<std::uint8_t> claim(54, 0);
    auto put32 = [&claim](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) claim[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
    };
    claim[0] = 'B';
    claim[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 13000);
    put32(22, 13000);
    claim[26] = 1;
    claim[28] = 24;
    WriteBytes(TestFolder() / "claim.bmp", claim);
    WriteBytes(TestFolder() / "claim.jpg", ClaimSize(MakeJpeg(16, 16, {1, 2, 3}, false, true), 13000, 13000));

    ASSERT_TRUE(w.PictureLoad(0, Path("sunset.jpg")));
    for (const char* name : {"wide.bmp", "claim.bmp", "claim.jpg"}) {
        EXPECT_FALSE(w.PictureLoad(0, Path(name))) << name;
        EXPECT_FALSE(t.PictureInSlot(0).held) << name;
    }
    ASSERT_TRUE(w.PictureLoad(0, Path("widest.bmp")));
    EXPECT_EQ(t.PictureInSlot(0).width, 8192);
}

TEST_F(PictureTest, APictureControlShowsTheSlotAtThePicturesOwnSize) {
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 650, 430, kCaptionWithClose | kCentredOnScreen, "greeting"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    ASSERT_TRUE(w.PictureLoad(0, Path("sunset.jpg")));
    w.PictureAdd(0, 10, 10, 30, 30, 0);
    const std::string shot = Path("greeting.png");
    ASSERT_TRUE(t.SaveScreenshot(0, shot));
    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull());
    // Inside the picture beyond the requested 30 x 30, and outside it.
    QColor inside = image.pixelColor(10 + 90, 10 + 70);
    EXPECT_NEAR(inside.red(), 250, 8);
    EXPECT_NEAR(inside.blue(), 40, 8);
    EXPECT_NE(image.pixelColor(10 + 105, 10 + 70), inside);
}

}  // namespace
