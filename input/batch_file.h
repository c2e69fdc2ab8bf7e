// The CSV file of places for kelmorven-table --batch, read a row at a time
// so that neither a huge file nor one endless row fills the memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The header line the file must begin with.
inline constexpr const char* kBatchHeader = "town,longitude,latitude,east_west,north_south,zone";
// The same with a seventh column, a time zone per place for the data formats.
inline constexpr const char* kBatchHeaderWithTimeZone =
    "town,longitude,latitude,east_west,north_south,zone,time_zone";

// A file of places found by name: one column, place, holding what
// --place takes, and optionally a town column that names the document.
inline constexpr const char* kBatchHeaderOfPlaces = "place";

// The longest row taken, in bytes without its line end: 64 KiB.
inline constexpr size_t kLongestBatchRow = 64 * 1024;

// One place, its texts as in the file (UTF-8).
struct BatchPlace {
    int line = 0;  // 1-based line number in the file
    std::string town, longitude, latitude, zone;
    std::string timeZone;  // the time_zone column, empty when absent; the zone is then empty too
    bool west = true;    // an empty side is the default: west, north
    bool south = false;
    std::string place;   // the place column: a name to find; empty in a file of coordinates
    std::string error;   // why the row cannot be read; empty when it can
};

// Reads the places of a file or of a text one row at a time: after the
// header one place per line, fields separated by commas, a field in double
// quotes may hold commas and "" for a quote. Blank lines are skipped; a
// UTF-8 byte-order mark and CR LF line ends are accepted. Fields are kept
// exactly, except the sides, which are read without regard to blanks around
// them or to letter case. A row longer than the limit is a place with an
// error; the rest of it, up to its line end, is skipped unread.
class BatchReader {
public:
    explicit BatchReader(size_t longestRow = kLongestBatchRow) : longestRow_(longestRow) {}
    BatchReader(const BatchReader&) = delete;
    BatchReader& operator=(const BatchReader&) = delete;
    ~BatchReader();

    // Opens the file or takes the text (which must outlive the reader) and
    // reads its header. False, with Error() saying why, when the file is
    // missing, a folder or unreadable, or the header is neither kBatchHeader
    // nor kBatchHeaderWithTimeZone nor a place column with or without a town
    // column, in either order.
    bool Open(const std::string& path);
    bool OpenText(std::string_view text);

    // The next place; false at the end of the file, or when reading failed,
    // in which case Error() says why.
    bool Next(BatchPlace& place);

    const std::string& Error() const { return error_; }

    // Whether the rows name places to find rather than give coordinates.
    bool NamesPlaces() const { return columns_ == Columns::Place || columns_ == Columns::PlaceAndTown ||
                                      columns_ == Columns::TownAndPlace; }

private:
    enum class Row { Taken, TooLong, End };
    Row ReadRow(std::string& row, bool skipRest);
    int NextByte();
    bool ReadHeader();

    size_t longestRow_;
    std::FILE* file_ = nullptr;
    std::string_view text_;
    std::vector<char> buffer_;
    size_t at_ = 0, filled_ = 0;
    int line_ = 0;
    enum class Columns { Coordinates, CoordinatesAndTimeZone, Place, PlaceAndTown, TownAndPlace };
    Columns columns_ = Columns::Coordinates;
    std::string error_;
};

// All places of a text (the tests' and the fuzzer's way in); error says why
// the text has no places at all.
struct BatchFile {
    std::string error;
    std::vector<BatchPlace> places;
};
BatchFile ParseBatchText(std::string_view text, size_t longestRow = kLongestBatchRow);
