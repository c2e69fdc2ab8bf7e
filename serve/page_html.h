// The pieces every page is written with: escaping of user text, query
// strings, and the document around a page's content.
#pragma once

#include "serve/page_text.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// text with &, <, >, " and ' as character references, for element content
// and quoted attribute values alike. Bytes that are not valid UTF-8 become
// U+FFFD, so that no text can break the page's encoding.
std::string EscapeHtml(std::string_view text);

// A query component as RFC 3986 allows it unescaped: letters, digits and
// "-._~"; every other byte as %XX.
std::string EncodeQueryComponent(std::string_view text);

// name=value pairs joined by '&', each side encoded.
using QueryPairs = std::vector<std::pair<std::string, std::string>>;
std::string QueryString(const QueryPairs& pairs);

// The whole document: head (title, style sheet, script), the site's header,
// main holding content, and the footer. title is plain text.
std::string PageDocument(const PageTexts& texts, std::string_view title, std::string_view content);
