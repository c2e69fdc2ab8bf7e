#include "serve/page_zones.h"

#include <algorithm>
#include <fstream>

std::vector<std::string> ReadZoneNames(const std::filesystem::path& folder) {
    std::vector<std::string> zones;
    std::ifstream file(folder / "tzdata.zi");
    for (std::string line; std::getline(file, line);) {
        if (!line.starts_with("Z ")) continue;
        const size_t end = line.find(' ', 2);
        zones.push_back(line.substr(2, end == std::string::npos ? std::string::npos : end - 2));
    }
    std::sort(zones.begin(), zones.end());
    return zones;
}
