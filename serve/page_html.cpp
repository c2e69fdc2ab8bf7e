#include "serve/page_html.h"

#include <utf8proc.h>

namespace {

// The length of the valid UTF-8 sequence at text[at], or 0 when it is not
// one: utf8proc refuses overlong forms, surrogates and values above U+10FFFF.
size_t Utf8SequenceAt(std::string_view text, size_t at) {
    utf8proc_int32_t ignored = 0;
    const utf8proc_ssize_t length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + at),
                                                     static_cast<utf8proc_ssize_t>(text.size() - at), &ignored);
    return length > 0 ? static_cast<size_t>(length) : 0;
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
