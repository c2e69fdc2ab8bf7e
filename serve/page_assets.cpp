#include "serve/page_assets.h"

const PageAsset* FindPageAsset(std::string_view name) {
    for (const PageAsset& asset : PageAssets())
        if (asset.name == name) return &asset;
    return nullptr;
}
