#include "serve/page_qr.h"

#include "serve/page_html.h"

#include <qrencode.h>

#include <memory>

std::string QrCodeSvg(std::string_view text, std::string_view label) {
    const std::string data(text);
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(data.c_str(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code) return "";
    constexpr int kQuiet = 4;
    const int width = code->width;
    const int size = width + 2 * kQuiet;
    std::string path;
    // One horizontal run of dark modules per "M x y h n v1 h-n z".
    for (int y = 0; y < width; ++y) {
        for (int x = 0; x < width;) {
            if (!(code->data[y * width + x] & 1)) {
                ++x;
                continue;
            }
            int run = 1;
            while (x + run < width && (code->data[y * width + x + run] & 1)) ++run;
            path += "M" + std::to_string(x + kQuiet) + " " + std::to_string(y + kQuiet) + "h" + std::to_string(run) +
                    "v1h-" + std::to_string(run) + "z";
            x += run;
        }
    }
    const std::string box = std::to_string(size);
    return "<svg class=\"qr-code\" xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" aria-label=\"" + EscapeHtml(label) +
           "\" viewBox=\"0 0 " + box + " " + box + "\" width=\"" + std::to_string(size * 4) + "\" height=\"" +
           std::to_string(size * 4) + "\" shape-rendering=\"crispEdges\"><rect width=\"" + box + "\" height=\"" + box +
           "\" fill=\"#fff\"/><path fill=\"#000\" d=\"" + path + "\"/></svg>";
}
