#include "input/batch_file.h"
#include "table/table_options.h"
#include "input/field_text.h"
#include "documents/output_formats.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::vector<std::string> kPlace = {"--year", "2004", "--town", "ulm", "--longitude", "9", "--latitude", "48"};

std::vector<std::string> With(std::vector<std::string> more, std::vector<std::string> base = kPlace) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

}  // namespace

TEST(TableOptions, DefaultsAreThoseOfAFreshMainWindow) {
    ParsedOptions parsed = ParseTableOptions(kPlace);
    ASSERT_EQ(parsed.error, "");
    const TableOptions& o = parsed.options;
    EXPECT_TRUE(o.west);
    EXPECT_FALSE(o.south);
    EXPECT_TRUE(o.sixtyMode);
    EXPECT_EQ(o.zone, "0");
    EXPECT_FALSE(o.summerTime);
    EXPECT_EQ(o.format->word, "txt");
    EXPECT_EQ(o.outFolder, ".");
    EXPECT_FALSE(o.today.has_value());

    parsed = ParseTableOptions(With({"--east", "--south", "--ten-mode", "--zone", "-3.5", "--summer-time", "--rtf",
                                     "--out", "/tmp", "--today", "2004-03-14"}));
    ASSERT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.options.west);
    EXPECT_TRUE(parsed.options.south);
    EXPECT_FALSE(parsed.options.sixtyMode);
    EXPECT_EQ(parsed.options.zone, "-3.5");  // a value may begin with a minus
    EXPECT_TRUE(parsed.options.summerTime && parsed.options.format->word == "rtf");
    EXPECT_EQ(parsed.options.today, MakeDate(2004, 3, 14));
    // Texts go on as typed; an empty one is for the input checks to refuse.
    parsed = ParseTableOptions({"--year", "", "--town", "", "--longitude", "9,5", "--latitude", " 48"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(*parsed.options.longitude, "9,5");
    EXPECT_EQ(*parsed.options.latitude, " 48");
}

TEST(TableOptions, ErrorsInTheOptionsAreNamedInOneLine) {
    struct Case {
        std::vector<std::string> arguments;
        const char* error;
    };
    const Case cases[] = {
        {{"--town", "ULM", "--longitude", "9", "--latitude", "48"}, "--year is missing"},
        {{"--year", "20a4", "--town", "ULM", "--longitude", "9", "--latitude", "48"}, "--year takes digits only, not \"20a4\""},
        {{"--year", "2004", "--longitude", "9", "--latitude", "48"}, "--town is missing"},
        {With({"--east", "--west"}), "--east and --west exclude each other"},
        {With({"--ten-mode", "--sixty-mode"}), "--ten-mode and --sixty-mode exclude each other"},
        {With({"--zone"}), "--zone needs a value"},
        {With({"--town", "BERN"}), "--town is given twice"},
        {With({"--colour"}), "unknown option --colour"},
        {With({"extra"}), "unexpected argument \"extra\""},
        {With({"--today", "2005-02-29"}), "--today takes a date YYYY-MM-DD, not \"2005-02-29\""},
        {With({"--out", ""}), "--out needs a folder"},
        {With({"--paper", "letter"}), "--paper goes with --format pdf"},
        {With({"--format", "pdf", "--paper", "a3"}), "--paper takes a4 or letter, not \"a3\""},
        {{"--year", "2004", "--batch", "places.csv", "--east"}, "--east does not go with --batch: the file gives the places"},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseTableOptions(c.arguments).error, c.error);

    EXPECT_EQ(ParseTableOptions({"--year", "2004", "--batch", "places.csv", "--ten-mode", "--rtf"}).error, "");
    ParsedOptions help = ParseTableOptions({"--colour", "--help"});
    EXPECT_TRUE(help.options.help);
    EXPECT_EQ(help.error, "");
    EXPECT_EQ(ParseIsoDate("2004-02-29"), MakeDate(2004, 2, 29));
    EXPECT_FALSE(ParseIsoDate("2004-04-31").has_value());
}

TEST(TableOptions, TheTownTurnsIntoCapitalsAsInTheTownField) {
    struct Case {
        const char* typed;  // code page 1252
        const char* held;
    };
    const Case cases[] = {
        {"ulm", "ULM"},
        {"m\xFCller", "M\xDCLLER"},           // müller -> MÜLLER
        {"stra\xDF" "e", "STRA\xDF" "E"},     // ß stays ß
        {"\xE9vian-les-bains 2", "\xC9VIAN-LES-BAINS 2"},
        {"\x9A" "ibenik \xFF", "\x8A" "IBENIK \x9F"},  // š and ÿ of code page 1252
        {"a\xF7" "b \xB5", "A\xF7" "B \xB5"},          // ÷ and µ are no small letters to turn
    };
    for (const Case& c : cases) EXPECT_EQ(TownCapitals(c.typed), c.held) << c.typed;
}

TEST(BatchFile, ReadsOnePlacePerLineAfterTheHeader) {
    BatchFile file = ParseBatchText(
        "\xEF\xBB\xBFtown,longitude,latitude,east_west,north_south,zone\r\n"
        "Ulm,9.5958,48.2402,east,north,1\r\n"
        "\r\n"
        "\"Rio, Centro\",43.1345,22.5430, West , SOUTH ,-3\r\n"
        "\"Say \"\"Hi\"\"\",1,2,,,\n"
        "Bad,1,2,up,north,0\n"
        "Short,1,2\n"
        "\"Open,1,2,east,north,0\n"
        "Last,1,2,east,south,5.5");
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.places.size(), 7u);
    const BatchPlace& ulm = file.places[0];
    EXPECT_EQ(ulm.line, 2);
    EXPECT_EQ(ulm.town + "|" + ulm.longitude + "|" + ulm.latitude + "|" + ulm.zone, "Ulm|9.5958|48.2402|1");
    EXPECT_FALSE(ulm.west);
    EXPECT_FALSE(ulm.south);
    const BatchPlace& rio = file.places[1];
    EXPECT_EQ(rio.line, 4);  // the blank line counts
    EXPECT_EQ(rio.town, "Rio, Centro");
    EXPECT_TRUE(rio.west);
    EXPECT_TRUE(rio.south);
    EXPECT_EQ(rio.zone, "-3");
    EXPECT_EQ(file.places[2].town, "Say \"Hi\"");
    EXPECT_TRUE(file.places[2].west);  // empty sides: west, north
    EXPECT_FALSE(file.places[2].south);
    EXPECT_EQ(file.places[3].error, "east_west must be east or west");
    EXPECT_EQ(file.places[4].error, "has 3 fields, not 6");
    EXPECT_EQ(file.places[5].error, "a quote is not closed");
    EXPECT_EQ(file.places[6].line, 9);
    EXPECT_EQ(file.places[6].zone, "5.5");
    EXPECT_EQ(file.places[6].error, "");

    EXPECT_EQ(ParseBatchText("town,lon,lat\nUlm,9,48").error,
              "its first line must be town,longitude,latitude,east_west,north_south,zone");
    EXPECT_EQ(ParseBatchText("").error, ParseBatchText("x").error);
}

// A row is read up to 64 KiB; a longer one is refused with its line number
// and skipped to its line end, and the rows after it are read as usual.
TEST(BatchFile, ARowLongerThanTheLimitIsRefusedAndTheNextRowsRead) {
    const std::string header = std::string(kBatchHeader) + "\n";
    const std::string longest = "Ulm,9,48,east,north," + std::string(kLongestBatchRow - 20, '1');
    BatchFile file = ParseBatchText(header + longest + "\r\n" + longest + "1\n" + std::string(3 * kLongestBatchRow, 'x') +
                                    "\nLast,1,2,east,south,5\n" + std::string(kLongestBatchRow + 1, '\0'));
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.places.size(), 5u);
    EXPECT_EQ(file.places[0].error, "");
    EXPECT_EQ(file.places[0].zone.size(), kLongestBatchRow - 20);
    for (size_t i : {1, 2, 4}) {
        EXPECT_EQ(file.places[i].error, "is longer than 65536 bytes") << i;
        EXPECT_EQ(file.places[i].line, static_cast<int>(i) + 2);
    }
    EXPECT_EQ(file.places[3].line, 5);
    EXPECT_EQ(file.places[3].town, "Last");
    EXPECT_EQ(file.places[3].error, "");
    // A header that never ends is no header.
    EXPECT_EQ(ParseBatchText(std::string(kLongestBatchRow * 2, '\0')).error, ParseBatchText("x").error);
}

// The usage is made from the rows: every option is listed with its help,
// and every format that takes a time zone is named where that is said.
TEST(TableUsage, NamesEveryOptionAndEveryFormatThatTakesATimeZone) {
    std::string usage = TableUsage();
    for (const char* option : {"--year Y ", "--east ", "--rtf ", "--time-zone AREA/LOCATION ", "--place QUERY "})
        EXPECT_NE(usage.find(std::string("\n  ") + option), std::string::npos) << option;
    std::replace(usage.begin(), usage.end(), '\n', ' ');
    std::vector<std::string> zoned;
    for (const OutputFormat& format : OutputFormats())
        if (format.needs.timeZone) zoned.emplace_back(format.word);
    ASSERT_EQ(zoned.size(), 5u);
    const std::string listed = zoned[0] + ", " + zoned[1] + ", " + zoned[2] + ", " + zoned[3];
    EXPECT_NE(usage.find(listed + ", " + zoned[4] + " give the moments in full"), std::string::npos);
    EXPECT_NE(usage.find("for " + listed + " and " + zoned[4] + " its time zone"), std::string::npos);
}
