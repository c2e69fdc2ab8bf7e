// A place's page: today's and tomorrow's sunrise and sunset first, then
// the month, the year's chart, the downloads and the subscription.
#pragma once

#include "documents/civil_moments.h"
#include "serve/page_html.h"
#include "serve/page_text.h"
#include "serve/year_request.h"

#include <optional>
#include <string>
#include <vector>

struct PageDate {
    int year = 0, month = 0, day = 0;
};

// A place as the page shows and names it.
struct PagePlace {
    std::string name;       // UTF-8, as found or as typed
    std::string region;     // may be empty
    std::string country;    // the country's name, else its code; may be empty
    double latitude = 0;    // degrees, north positive
    double longitude = 0;   // degrees, east positive
    std::string timeZone;   // IANA name
    QueryPairs address;     // the query that names it to the service: place=ID, or name, lat, lon and tz
    PlaceParameters parameters;  // the same as the service reads it
};

// What the place's page shows; every moment in the civil time of the
// place's time zone.
struct PlacePage {
    PagePlace place;
    int year = 0;                      // the year of the month, the chart and the downloads
    PageDate todayDate, tomorrowDate;  // the service's today and the date after it
    std::optional<CivilDay> today;     // their moments; nothing for a date the clock skipped
    std::optional<CivilDay> tomorrow;
    std::vector<CivilDay> month;       // the days of today's month in year
    std::optional<int> remindMinutes;  // the feed's reminder
    std::string baseUrl;               // the service's public address, "https://host", no final '/'
    std::string qrSvg;                 // the QR code of the feed's https address, as an <svg> element
};

// The reminder choices the subscription offers, in minutes.
inline constexpr int kReminderChoices[] = {5, 10, 15, 30, 60};

// The page's address, /place?..., for year and the reminder (each only when given).
std::string PlacePageAddress(const PagePlace& place, std::optional<int> year, std::optional<int> remindMinutes);

// The feed's path and query: "/feed.ics?place=...&remind=...".
std::string FeedAddress(const PagePlace& place, std::optional<int> remindMinutes);

// baseUrl with its scheme replaced by webcal ("https://h" -> "webcal://h").
std::string WebcalUrl(std::string_view baseUrl);

std::string RenderPlacePage(const PageTexts& texts, const PlacePage& page);

// "Wednesday 9 December 2026".
std::string LongDateText(const PageTexts& texts, PageDate date);
