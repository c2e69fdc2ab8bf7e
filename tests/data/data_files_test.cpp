// The files of the data folder as the program reads them: the chime's WAV
// layout, the information text's lines and code page, the pictures' sizes.
#include "tests/support/file_contents.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A file of the data folder as the program finds it.
Bytes DataFile(const std::string& name) {
    const std::string bytes = Contents(std::filesystem::path(KELMORVEN_DATA_DIR) / name);
    return {bytes.begin(), bytes.end()};
}

std::uint32_t Little32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Little16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

bool TagAt(const Bytes& b, std::size_t at, const char* tag) {
    return b.size() >= at + 4 && std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

struct FrameSize {
    int width = 0;
    int height = 0;
    int components = 0;
};

// Walks the JPEG markers up to the first start-of-frame and reads its size;
// all zero when the file is no JPEG or has no frame header.
FrameSize JpegFrame(const Bytes& b) {
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return {};
    std::size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        unsigned char marker = b[at + 1];
        std::size_t length = static_cast<std::size_t>(b[at + 2] << 8 | b[at + 3]);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 10 <= b.size())
            return {b[at + 7] << 8 | b[at + 8], b[at + 5] << 8 | b[at + 6], b[at + 9]};
        at += 2 + length;
    }
    return {};
}

}  // namespace

TEST(DeliveredData, ChimeIsPcmWithItsSamplesRightAfterTheFormatRecord) {
    Bytes wav = DataFile("Sound.wav");
    ASSERT_TRUE(TagAt(wav, 0, "RIFF"));
    ASSERT_TRUE(TagAt(wav, 12, "fmt "));
    std::uint32_t n = Little32(wav, 16);
    ASSERT_GE(n, 16u);
    ASSERT_TRUE(TagAt(wav, 20 + n, "data"));
    std::uint32_t m = Little32(wav, 24 + n);
    EXPECT_LE(28 + n + m, wav.size());
    EXPECT_EQ(Little16(wav, 20), 1);       // PCM
    EXPECT_EQ(Little16(wav, 22), 1);       // mono
    EXPECT_EQ(Little32(wav, 24), 44100u);  // samples per second
    EXPECT_EQ(Little16(wav, 34), 16);      // bits per sample
    double seconds = m / 2.0 / 44100.0;
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 3.0);
}

TEST(DeliveredData, InformationTextFitsTheListInCodePage1252) {
    Bytes text = DataFile("Info.txt");
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.back(), '\n');
    int lines = 0;
    std::size_t lineStart = 0;
    bool degreeSign = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        if (c == '\n') {
            ++lines;
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "line " << lines << " ends without CR LF";
            EXPECT_LE(i - 1 - lineStart, 90u) << "line " << lines << " is wider than the list";
            lineStart = i + 1;
        } else if (c == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR after line " << lines;
        }
        EXPECT_NE(c, 0) << "NUL byte in line " << lines + 1;
        // A UTF-8 lead byte followed by a continuation byte: text not converted.
        if (c >= 0xC2 && c <= 0xF4 && i + 1 < text.size() && (text[i + 1] & 0xC0) == 0x80)
            ADD_FAILURE() << "UTF-8 sequence in line " << lines + 1;
        degreeSign = degreeSign || c == 0xB0;
    }
    EXPECT_LE(lines, 160);
    EXPECT_TRUE(degreeSign);
}

TEST(DeliveredData, PicturesAreColourJpegsThatFitTheirWindows) {
    struct Case {
        const char* name;
        int maxWidth, maxHeight;  // client area less the picture's place at (10, 10) and a like margin
    };
    for (Case c : {Case{"sunset.jpg", 630, 410}, Case{"Zeitzonenkarte.jpg", 1000, 687}}) {
        SCOPED_TRACE(c.name);
        FrameSize frame = JpegFrame(DataFile(c.name));
        ASSERT_GT(frame.width, 0);
        EXPECT_LE(frame.width, c.maxWidth);
        EXPECT_LE(frame.height, c.maxHeight);
        EXPECT_GT(frame.width, c.maxWidth * 9 / 10) << "leaves the window mostly empty";
        EXPECT_GT(frame.height, c.maxHeight * 9 / 10);
        EXPECT_EQ(frame.components, 3);
    }
}
