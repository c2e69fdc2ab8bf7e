// kelmorven-place-index PLACES.TSV: writes the index of a place file beside
// it (Places.idx), which the programs map at start instead of reading the
// place file line by line. Run by the build; exits 1 when the place file is
// damaged, so that no index of a damaged file is made.
#include "places/place_file.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: kelmorven-place-index PLACES.TSV [INDEX]\n";
        return 64;
    }
    const std::filesystem::path placeFile = argv[1];
    const ShippedPlaces shipped = ReadShippedPlaces(placeFile);
    if (!shipped.fault.empty()) {
        std::cerr << "kelmorven-place-index: " << placeFile.string() << ": " << shipped.fault << "\n";
        return 1;
    }
    const std::filesystem::path index = argc == 3 ? std::filesystem::path(argv[2]) : PlaceIndexPath(placeFile);
    const std::string error =
        WritePlaceIndex(index, *shipped.storage, TableLines(shipped.countries, shipped.regions), shipped.stamp);
    if (!error.empty()) {
        std::cerr << "kelmorven-place-index: " << error << "\n";
        return 1;
    }
    return 0;
}
