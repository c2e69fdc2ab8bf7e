#include "serve/page_html.h"

namespace {

// The length of the valid UTF-8 sequence at text[at], or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF included).
size_t Utf8SequenceAt(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, minimum = 0x80, value = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, minimum = 0x800, value = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, minimum = 0x10000, value = lead & 0x07;
    else return 0;
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        value = value << 6 | (byte(at + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceAt(text, at);
        if (length == 0) {
            escaped += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        switch (text[at]) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default: escaped.append(text.substr(at, length));
        }
        at += length;
    }
    return escaped;
}

std::string EncodeQueryComponent(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '.' || byte == '_' || byte == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

std::string QueryString(const QueryPairs& pairs) {
    std::string query;
    for (const auto& [name, value] : pairs) {
        if (!query.empty()) query += '&';
        query += EncodeQueryComponent(name) + "=" + EncodeQueryComponent(value);
    }
    return query;
}

std::string PageDocument(const PageTexts& texts, std::string_view title, std::string_view content) {
    std::string page;
    page.reserve(content.size() + 1024);
    page += "<!DOCTYPE html>\n<html lang=\"" + EscapeHtml(texts.language) + "\">\n<head>\n";
    page += "<meta charset=\"utf-8\">\n";
    page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    page += "<title>" + EscapeHtml(title) + " \u2013 " + EscapeHtml(texts.siteName) + "</title>\n";
    page += "<link rel=\"icon\" href=\"/page/icon.svg\" type=\"image/svg+xml\">\n";
    page += "<link rel=\"stylesheet\" href=\"/page/style.css\">\n";
    page += "<script src=\"/page/page.js\" defer></script>\n";
    page += "</head>\n<body>\n";
    page += "<a class=\"skip\" href=\"#main\">" + EscapeHtml(texts.skipToContent) + "</a>\n";
    page += "<header class=\"site\"><a class=\"site-name\" href=\"/\">" + EscapeHtml(texts.siteName) + "</a></header>\n";
    page += "<main id=\"main\">\n";
    page += content;
    page += "</main>\n<footer class=\"site\"><a href=\"/\">" + EscapeHtml(texts.backHome) + "</a> <a href=\"/coordinates\">" +
            EscapeHtml(texts.coordinatesLink) + "</a></footer>\n</body>\n</html>\n";
    return page;
}
