// Every text the web page shows, in one record, so that a translation is
// one more record in page_text.cpp. Texts are UTF-8 and plain: the page
// escapes them where it writes them. A "{}" in a text stands for the value
// the page puts there (PageFill).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <initializer_list>

struct PageTexts {
    std::string_view language;  // the page's lang attribute, "en"
    std::string_view siteName;
    std::string_view homeTitle;
    std::string_view intro;
    std::string_view skipToContent;

    // Finding a town.
    std::string_view findHeading;
    std::string_view townLabel;
    std::string_view townHint;
    std::string_view suggestionsLabel;
    std::string_view findButton;
    std::string_view matchesTitle;     // "Places that match “{}”"
    std::string_view matchesCount;     // "{} places match; the best are listed."
    std::string_view noMatch;          // "No place matches “{}”."
    std::string_view emptyQuery;

    // A place by coordinates.
    std::string_view coordinatesLink;
    std::string_view coordinatesTitle;
    std::string_view coordinatesIntro;
    std::string_view nameLabel;
    std::string_view latitudeLabel;
    std::string_view longitudeLabel;
    std::string_view north, south, east, west;
    std::string_view latitudeSide, longitudeSide;
    std::string_view modeLegend;
    std::string_view tenMode, sixtyMode;
    std::string_view zoneLabel;
    std::string_view showPlace;
    std::string_view refusedHeading;

    // The place's page.
    std::string_view today, tomorrow;
    std::string_view sunrise, sunset;
    std::string_view sunStaysUp, sunStaysDown;
    std::string_view noMoment;           // a date the zone skipped
    std::string_view civilTime;          // the zone's name, then its offset from UTC: "+01:00"
    std::string_view monthCaption;       // the month, the zone
    std::string_view dateColumn;
    std::string_view yearHeading;        // "The year {}"
    std::string_view chartAlt;           // "Chart of the year {}: …"
    std::string_view yearLabel;
    std::string_view showYear;
    std::string_view downloadsHeading;
    std::string_view downloadsIntro;
    std::string_view subscribeHeading;
    std::string_view subscribeIntro;
    std::string_view webcalLink;
    std::string_view feedAddressLabel;
    std::string_view copyButton;
    std::string_view copied;
    std::string_view qrLabel;
    std::string_view qrCaption;
    std::string_view remindLabel;
    std::string_view remindNone;
    std::string_view remindMinutes;      // "{} minutes before"
    std::string_view remindApply;
    std::string_view shareHeading;
    std::string_view shareLabel;
    std::string_view degreesNorth, degreesSouth, degreesEast, degreesWest;  // "{}° N"

    // Errors.
    std::string_view errorTitle;
    std::string_view unknownPlace;
    std::string_view badPlace;
    std::string_view badYear;
    std::string_view badRemind;
    std::string_view notFound;
    std::string_view backHome;

    std::array<std::string_view, 7> weekdays;  // Sunday first
    std::array<std::string_view, 12> months;   // January first
    std::string_view dateShape;                // weekday, day, month, year: "{} {} {} {}"
    // The download links' labels by format word; a format not named here is
    // labelled by its file ending.
    std::array<std::pair<std::string_view, std::string_view>, 7> formatLabels;
};

// The English texts, the programs' language.
const PageTexts& EnglishPageTexts();

// The label of a format's download link: its row in formatLabels by the
// format's word ("pdf"), else its file ending without the point (".TXT").
std::string DownloadLabel(const PageTexts& texts, std::string_view word, std::string_view ending);

// text with each "{}" replaced by the next value, in order.
std::string PageFill(std::string_view text, std::initializer_list<std::string_view> values);
