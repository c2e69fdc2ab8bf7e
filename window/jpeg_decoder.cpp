#include "window/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports errors through error_exit, which must not return: it jumps
// back to the decoder's call that was running.
struct ErrorExit {
    jpeg_error_mgr manager;  // first, so that cinfo->err leads back here
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1); }
void KeepQuiet(j_common_ptr, int) {}
void ShowNothing(j_common_ptr) {}

const JOCTET kEndOfPicture[2] = {0xFF, JPEG_EOI};

void StartSource(j_decompress_ptr) {}

// Called only when the file's bytes are used up: supply an end marker, as a
// damaged or cut file needs, and raise libjpeg's premature-end warning (kept
// silent by KeepQuiet).
boolean SupplyEnd(j_decompress_ptr info) {
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfPicture;
    info->src->bytes_in_buffer = sizeof kEndOfPicture;
    return TRUE;
}

void SkipBytes(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = info->src;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        SupplyEnd(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void EndSource(j_decompress_ptr) {}

class JpegDecoder final : public PictureDecoder {
public:
    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder() override { Release(); }

    bool Accept(std::FILE* file) override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Decode(unsigned char* pixels, std::size_t rowBytes) override;

private:
    bool ReadWhole(std::FILE* file);
    bool Start();
    bool ReadRows(unsigned char* pixels, std::size_t rowBytes);
    void Release();

    jpeg_decompress_struct info_{};
    ErrorExit error_{};
    jpeg_source_mgr source_{};
    std::vector<JOCTET> data_;
    bool created_ = false;
    bool started_ = false;
    int width_ = 0;
    int height_ = 0;
};

bool JpegDecoder::ReadWhole(std::FILE* file) {
    data_.clear();
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        data_.insert(data_.end(), chunk, chunk + got);
        if (data_.size() > kMaxPictureFileBytes) return false;
    }
    return !std::ferror(file);
}

bool JpegDecoder::Accept(std::FILE* file) {
    Release();
    if (!ReadWhole(file) || data_.size() < 2 || data_[0] != 0xFF || data_[1] != 0xD8) {
        Release();
        return false;
    }
    if (!Start()) {
        Release();
        return false;
    }
    return true;
}

// Header and decompression start. Locals are kept out of this frame, since
// a jump back discards them.
bool JpegDecoder::Start() {
    info_.err = jpeg_std_error(&error_.manager);
    error_.manager.error_exit = JumpBack;
    error_.manager.emit_message = KeepQuiet;
    error_.manager.output_message = ShowNothing;
    if (setjmp(error_.jump)) return false;

    jpeg_create_decompress(&info_);
    created_ = true;
    source_.init_source = StartSource;
    source_.fill_input_buffer = SupplyEnd;
    source_.skip_input_data = SkipBytes;
    source_.resync_to_restart = jpeg_resync_to_restart;
    source_.term_source = EndSource;
    source_.next_input_byte = data_.data();
    source_.bytes_in_buffer = data_.size();
    info_.src = &source_;

    jpeg_read_header(&info_, TRUE);
    bool fourComponents = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = fourComponents ? JCS_CMYK : JCS_RGB;
    info_.dct_method = JDCT_ISLOW;
    // Before decompression starts, which makes the buffers of the whole
    // picture (all of its coefficients, for a progressive one).
    if (!PictureFitsWindow(info_.image_width, info_.image_height)) return false;

    jpeg_start_decompress(&info_);
    started_ = true;
    if (info_.output_components != (fourComponents ? 4 : 3)) return false;
    width_ = static_cast<int>(info_.output_width);
    height_ = static_cast<int>(info_.output_height);
    return true;
}

bool JpegDecoder::Decode(unsigned char* pixels, std::size_t rowBytes) {
    bool ok = started_ && rowBytes >= std::size_t{3} * static_cast<std::size_t>(width_) &&
              ReadRows(pixels, rowBytes);
    Release();
    return ok;
}

bool JpegDecoder::ReadRows(unsigned char* pixels, std::size_t rowBytes) {
    if (setjmp(error_.jump)) return false;
    JSAMPARRAY row = (*info_.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&info_), JPOOL_IMAGE,
        info_.output_width * static_cast<JDIMENSION>(info_.output_components), 1);
    bool cmyk = info_.out_color_space == JCS_CMYK;
    bool inverted = info_.saw_Adobe_marker;  // Adobe writes CMYK inverted
    while (info_.output_scanline < info_.output_height) {
        JDIMENSION y = info_.output_scanline;
        if (jpeg_read_scanlines(&info_, row, 1) != 1) return false;
        const JSAMPLE* in = row[0];
        unsigned char* out = pixels + y * rowBytes;
        for (JDIMENSION x = 0; x < info_.output_width; ++x, out += 3) {
            unsigned r, g, b;
            if (cmyk) {
                unsigned c = in[0], m = in[1], ye = in[2], k = in[3];
                if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
                r = c * k / 255;
                g = m * k / 255;
                b = ye * k / 255;
                in += 4;
            } else {
                r = in[0];
                g = in[1];
                b = in[2];
                in += 3;
            }
            out[0] = static_cast<unsigned char>(b);
            out[1] = static_cast<unsigned char>(g);
            out[2] = static_cast<unsigned char>(r);
        }
    }
    jpeg_finish_decompress(&info_);
    return true;
}

void JpegDecoder::Release() {
    if (created_) jpeg_destroy_decompress(&info_);
    created_ = false;
    started_ = false;
    info_ = {};
    data_.clear();
    data_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
}

}  // namespace

std::unique_ptr<PictureDecoder> MakeJpegDecoder() { return std::make_unique<JpegDecoder>(); }
