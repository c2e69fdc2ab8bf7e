// A QR code drawn as an SVG element, for the page's subscription address.
#pragma once

#include <string>
#include <string_view>

// An <svg role="img"> of text's QR code (error correction M, 8-bit data,
// the smallest version that holds it) with a four-module quiet zone, dark
// modules as one path; label is its accessible name (plain text). Empty
// when the text is too long for any version.
std::string QrCodeSvg(std::string_view text, std::string_view label);
