#include "table/batch_file.h"

#include <fstream>
#include <iterator>
#include <optional>

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

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Reads a side: true for the second word, false for the first or an empty field.
bool ReadSide(const std::string& field, const char* first, const char* second, bool& value) {
    std::string side = Lower(Trimmed(field));
    if (side.empty()) return true;
    if (side != first && side != second) return false;
    value = side == second;
    return true;
}

}  // namespace

BatchFile ParseBatchText(const std::string& text) {
    BatchFile file;
    std::vector<std::string> lines;
    for (size_t start = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    const bool withTimeZone = !lines.empty() && Trimmed(lines[0]) == kBatchHeaderWithTimeZone;
    if (lines.empty() || (Trimmed(lines[0]) != kBatchHeader && !withTimeZone)) {
        file.error = std::string("its first line must be ") + kBatchHeader;
        return file;
    }
    const size_t columns = withTimeZone ? 7 : 6;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (Trimmed(lines[i]).empty()) continue;
        BatchPlace place;
        place.line = static_cast<int>(i + 1);
        std::optional<std::vector<std::string>> fields = SplitFields(lines[i]);
        if (!fields) {
            place.error = "a quote is not closed";
        } else if (fields->size() != columns) {
            place.error = "has " + std::to_string(fields->size()) + " fields, not " + std::to_string(columns);
        } else {
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
        file.places.push_back(std::move(place));
    }
    return file;
}

BatchFile ReadBatchFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        BatchFile file;
        file.error = "cannot be read";
        return file;
    }
    return ParseBatchText({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}
