#include "serve/page_text.h"

const PageTexts& EnglishPageTexts() {
    static const PageTexts texts{
        .language = "en",
        .siteName = "KELMORVEN Timings",
        .homeTitle = "Sunrise and sunset for your town",
        .intro = "The two daily moments of the ritual for any town: today, the month, the year to print, "
                 "and a calendar subscription that stays current.",
        .skipToContent = "Skip to the content",

        .findHeading = "Find your town",
        .townLabel = "Town",
        .townHint = "Type the beginning of its name; a country after a comma narrows it, as \u201cFrankfurt, DE\u201d.",
        .suggestionsLabel = "Suggested places",
        .findButton = "Find",
        .matchesTitle = "Places that match \u201c{}\u201d",
        .matchesCount = "{} places match; the best are listed.",
        .noMatch = "No place matches \u201c{}\u201d.",
        .emptyQuery = "Type a town's name to find it.",

        .coordinatesLink = "A place by its coordinates",
        .coordinatesTitle = "A place by its coordinates",
        .coordinatesIntro = "For a place that is not in the list: its name, its coordinates and its time zone.",
        .nameLabel = "Name",
        .latitudeLabel = "Latitude",
        .longitudeLabel = "Longitude",
        .north = "North",
        .south = "South",
        .east = "East",
        .west = "West",
        .latitudeSide = "Side of the equator",
        .longitudeSide = "Side of Greenwich",
        .modeLegend = "The coordinates are typed as",
        .tenMode = "decimal degrees (10-mode): 9.175",
        .sixtyMode = "degrees, minutes and seconds (60-mode): 9.1030 for 9\u00b010'30''",
        .zoneLabel = "Time zone",
        .showPlace = "Show the place",
        .refusedHeading = "The place was not taken",

        .today = "Today",
        .tomorrow = "Tomorrow",
        .sunrise = "Sunrise",
        .sunset = "Sunset",
        .sunStaysUp = "The Sun stays above all day",
        .sunStaysDown = "The Sun stays below all day",
        .noMoment = "This date was skipped by the clock",
        .civilTime = "Civil time of {}, UTC{}",
        .monthCaption = "{}: sunrise and sunset in the civil time of {}",
        .dateColumn = "Date",
        .yearHeading = "The year {}",
        .chartAlt = "Chart of the year {} at {}: the times of sunrise and sunset through the months. Opens the chart alone.",
        .yearLabel = "Year",
        .showYear = "Show the year",
        .downloadsHeading = "Downloads",
        .downloadsIntro = "The year {} in every format:",
        .subscribeHeading = "Subscribe",
        .subscribeIntro = "A calendar subscription keeps the moments current: from a week ago to more than a year ahead.",
        .webcalLink = "Subscribe in your calendar app",
        .feedAddressLabel = "Address of the calendar feed",
        .copyButton = "Copy the address",
        .copied = "Copied.",
        .qrLabel = "QR code of the calendar feed's address",
        .qrCaption = "Hold a phone's camera to it to subscribe.",
        .remindLabel = "Reminder",
        .remindNone = "No reminder",
        .remindMinutes = "{} minutes before",
        .remindApply = "Apply",
        .shareHeading = "Share this page",
        .shareLabel = "Address of this page",
        .degreesNorth = "{}\u00b0\u00a0N",
        .degreesSouth = "{}\u00b0\u00a0S",
        .degreesEast = "{}\u00b0\u00a0E",
        .degreesWest = "{}\u00b0\u00a0W",

        .errorTitle = "Not found",
        .unknownPlace = "There is no place with this id.",
        .badPlace = "The page cannot be shown: {}",
        .badYear = "year: a whole number, as 2026",
        .badRemind = "remind: whole minutes before each moment, 0 or more",
        .notFound = "There is no page at this address.",
        .backHome = "Find a town",

        .weekdays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        .months = {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                   "October", "November", "December"},
        .dateShape = "{} {} {} {}",
        .formatLabels = {{{"pdf", "PDF to print"},
                          {"txt", "Text (TXT)"},
                          {"rtf", "Word processor (WRI)"},
                          {"csv", "Spreadsheet (CSV)"},
                          {"json", "Data (JSON)"},
                          {"ics", "Calendar file (ICS)"},
                          {"svg", "Chart (SVG)"}}},
    };
    return texts;
}

std::string DownloadLabel(const PageTexts& texts, std::string_view word, std::string_view ending) {
    for (const auto& [formatWord, label] : texts.formatLabels)
        if (formatWord == word) return std::string(label);
    return std::string(ending.starts_with('.') ? ending.substr(1) : ending);
}

std::string PageFill(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    const std::string_view* next = values.begin();
    for (size_t at = 0; at < text.size();) {
        const size_t hole = text.find("{}", at);
        if (hole == std::string_view::npos || next == values.end()) {
            filled += text.substr(at);
            break;
        }
        filled.append(text.substr(at, hole - at)).append(*next++);
        at = hole + 2;
    }
    return filled;
}
