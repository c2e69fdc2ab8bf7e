// The page's own files (serve/page/), embedded in the program at build time.
#pragma once

#include <span>
#include <string_view>

struct PageAsset {
    std::string_view name;         // "style.css", served as /page/style.css
    std::string_view contentType;  // "text/css; charset=utf-8"
    std::string_view bytes;
};

// Every file of serve/page/ that is served, made by embed_assets.cmake.
std::span<const PageAsset> PageAssets();

// The file of a name; nullptr for none.
const PageAsset* FindPageAsset(std::string_view name);
