#include "input/batch_file.h"

#include "files/file_replacement.h"
#include "text/text_slices.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace {

// The fields of one line, or nothing when a quote is not closed.
std::optional<std::vector<std::string>> SplitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c != '"') fields.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
            else quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (quoted) return std::nullopt;
    return fields;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Reads a side: true for the second word, false for the first or an empty field.
bool ReadSide(const std::string& field, const char* first, const char* second, bool& value) {
    std::string side = Lower(std::string(Trimmed(field)));
    if (side.empty()) return true;
    if (side != first && side != second) return false;
    value = side == second;
    return true;
}

// The fields of a row, exactly columns of them; nothing, with the reason
// in place.error, when the row has other fields.
std::optional<std::vector<std::string>> RowFields(const std::string& row, size_t columns, BatchPlace& place) {
    std::optional<std::vector<std::string>> fields = SplitFields(row);
    if (!fields) {
        place.error = "a quote is not closed";
    } else if (fields->size() != columns) {
        place.error = "has " + std::to_string(fields->size()) + " fields, not " + std::to_string(columns);
        fields.reset();
    }
    return fields;
}

// The fields of a row after the header, six or, with the time_zone column,
// seven, or why they cannot be read.
void ReadPlace(const std::string& row, bool withTimeZone, BatchPlace& place) {
    if (const std::optional<std::vector<std::string>> fields = RowFields(row, withTimeZone ? 7 : 6, place)) {
        const std::vector<std::string>& f = *fields;
        place.town = f[0];
        place.longitude = f[1];
        place.latitude = f[2];
        place.zone = f[5];
        if (withTimeZone) place.timeZone = Trimmed(f[6]);
        if (!ReadSide(f[3], "east", "west", place.west)) place.error = "east_west must be east or west";
        else if (!ReadSide(f[4], "north", "south", place.south)) place.error = "north_south must be north or south";
        else if (!place.timeZone.empty() && !Trimmed(place.zone).empty())
            place.error = "zone and time_zone exclude each other: the time zone gives the offset";
    }
}

// A row of a file of places found by name: the place, and the town when
// the file has that column too (at townAt, 0 or 1).
void ReadNamedPlace(const std::string& row, size_t columns, size_t townAt, BatchPlace& place) {
    if (const std::optional<std::vector<std::string>> fields = RowFields(row, columns, place)) {
        place.place = Trimmed((*fields)[columns == 2 ? 1 - townAt : 0]);
        if (columns == 2) place.town = (*fields)[townAt];
        if (place.place.empty()) place.error = "names no place";
    }
}

constexpr size_t kReadSize = 64 * 1024;

}  // namespace

BatchReader::~BatchReader() {
    if (file_) std::fclose(file_);
}

bool BatchReader::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error_ = errno == ENOENT ? "does not exist" : "cannot be read: " + SystemErrorText(errno);
        return false;
    }
    struct stat status;
    if (::fstat(::fileno(file_), &status) == 0 && S_ISDIR(status.st_mode)) {
        error_ = "is a folder, not a file";
        return false;
    }
    buffer_.resize(kReadSize);
    return ReadHeader();
}

bool BatchReader::OpenText(std::string_view text) {
    text_ = text;
    return ReadHeader();
}

bool BatchReader::ReadHeader() {
    std::string row;
    const Row header = ReadRow(row, false);
    if (!error_.empty()) return false;
    if (row.rfind("\xEF\xBB\xBF", 0) == 0) row.erase(0, 3);
    const std::string names(Trimmed(row));
    if (header == Row::Taken && names == kBatchHeader) columns_ = Columns::Coordinates;
    else if (header == Row::Taken && names == kBatchHeaderWithTimeZone) columns_ = Columns::CoordinatesAndTimeZone;
    else if (header == Row::Taken && names == kBatchHeaderOfPlaces) columns_ = Columns::Place;
    else if (header == Row::Taken && names == "place,town") columns_ = Columns::PlaceAndTown;
    else if (header == Row::Taken && names == "town,place") columns_ = Columns::TownAndPlace;
    else {
        error_ = std::string("its first line must be ") + kBatchHeader;
        return false;
    }
    return true;
}

int BatchReader::NextByte() {
    if (!file_) return at_ < text_.size() ? static_cast<unsigned char>(text_[at_++]) : EOF;
    if (at_ == filled_) {
        at_ = 0;
        filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (filled_ == 0) {
            if (std::ferror(file_) && error_.empty())
                error_ = "cannot be read: " + SystemErrorText(errno);
            return EOF;
        }
    }
    return static_cast<unsigned char>(buffer_[at_++]);
}

// A row without its line end (LF or CR LF). At most the limit and a CR are
// kept; a longer row is read on to its end and dropped, or, when skipRest is
// false, left there (the header: a file whose first line runs on is no
// batch file, and is not read further).
BatchReader::Row BatchReader::ReadRow(std::string& row, bool skipRest) {
    row.clear();
    bool tooLong = false;
    int c = NextByte();
    if (c == EOF) return Row::End;
    ++line_;
    for (; c != EOF && c != '\n'; c = NextByte()) {
        if (row.size() <= longestRow_) {
            row += static_cast<char>(c);
        } else {
            tooLong = true;
            if (!skipRest) break;
        }
    }
    if (!tooLong && !row.empty() && row.back() == '\r') row.pop_back();
    if (tooLong || row.size() > longestRow_) {
        row.clear();
        return Row::TooLong;
    }
    return Row::Taken;
}

bool BatchReader::Next(BatchPlace& place) {
    std::string row;
    for (;;) {
        const Row read = ReadRow(row, true);
        if (read == Row::End || !error_.empty()) return false;
        place = BatchPlace{};
        place.line = line_;
        if (read == Row::TooLong) {
            place.error = "is longer than " + std::to_string(longestRow_) + " bytes";
            return true;
        }
        if (Trimmed(row).empty()) continue;
        if (columns_ == Columns::Place) ReadNamedPlace(row, 1, 0, place);
        else if (columns_ == Columns::PlaceAndTown) ReadNamedPlace(row, 2, 1, place);
        else if (columns_ == Columns::TownAndPlace) ReadNamedPlace(row, 2, 0, place);
        else ReadPlace(row, columns_ == Columns::CoordinatesAndTimeZone, place);
        return true;
    }
}

BatchFile ParseBatchText(std::string_view text, size_t longestRow) {
    BatchFile file;
    BatchReader reader(longestRow);
    if (!reader.OpenText(text)) {
        file.error = reader.Error();
        return file;
    }
    for (BatchPlace place; reader.Next(place);) file.places.push_back(place);
    return file;
}

