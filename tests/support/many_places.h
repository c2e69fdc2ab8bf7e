// A batch file of many places spread over the globe, for the tests and
// benchmarks of long batches: towns PLACE0, PLACE1, ... in 60-mode
// coordinates, east and west, north and south, each with its own zone.
#pragma once

#include <string>

inline std::string ManyPlacesCsv(int count) {
    // 60-mode texts: degrees, two digits of minutes and of seconds.
    auto packed = [](int degrees, int minutes, int seconds) {
        return std::to_string(degrees) + "." + (minutes < 10 ? "0" : "") + std::to_string(minutes) +
               (seconds < 10 ? "0" : "") + std::to_string(seconds);
    };
    std::string csv = "town,longitude,latitude,east_west,north_south,zone\n";
    for (int i = 0; i < count; ++i) {
        const int longitude = (i * 37) % 180, latitude = (i * 13) % 60;
        csv += "PLACE" + std::to_string(i) + "," + packed(longitude, i % 60, (i * 7) % 60) + "," +
               packed(latitude, (i * 11) % 60, (i * 3) % 60) + "," + (i % 2 ? "east" : "west") + "," +
               (i % 3 ? "north" : "south") + "," + std::to_string(i % 2 ? longitude / 15 : -longitude / 15) + "\n";
    }
    return csv;
}
