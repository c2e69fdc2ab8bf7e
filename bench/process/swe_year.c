/* The measuring stick for a whole year's process: the Sun's rising and
 * setting over every day of one year at one place by the Swiss Ephemeris'
 * rise_trans (its built-in Moshier ephemeris, the disc's centre, no
 * refraction), written as text to a file, as kelmorven-table writes a year.
 *   swe_year YEAR LONGITUDE LATITUDE FILE
 */
#include <swephexp.h>

#include <stdio.h>
#include <stdlib.h>

static int IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: swe_year YEAR LONGITUDE LATITUDE FILE\n");
        return 64;
    }
    const int year = atoi(argv[1]);
    double place[3] = {atof(argv[2]), atof(argv[3]), 0.0};
    FILE* out = fopen(argv[4], "w");
    if (!out) {
        perror(argv[4]);
        return 3;
    }
    const int32 flags = SE_BIT_DISC_CENTER | SE_BIT_NO_REFRACTION;
    const int days = IsLeap(year) ? 366 : 365;
    const double first = swe_julday(year, 1, 1, 0.0, SE_GREG_CAL) - place[0] / 360.0;
    char error[AS_MAXCH];
    for (int day = 0; day < days; ++day) {
        double rise = 0.0, set = 0.0;
        if (swe_rise_trans(first + day, SE_SUN, NULL, SEFLG_MOSEPH, SE_CALC_RISE | flags, place, 0.0, 0.0, &rise,
                           error) < 0 ||
            swe_rise_trans(first + day, SE_SUN, NULL, SEFLG_MOSEPH, SE_CALC_SET | flags, place, 0.0, 0.0, &set,
                           error) < 0) {
            fprintf(stderr, "swe_year: %s\n", error);
            return 2;
        }
        fprintf(out, "%d %.6f %.6f\r\n", day + 1, rise, set);
    }
    swe_close();
    return fclose(out) == 0 ? 0 : 3;
}
