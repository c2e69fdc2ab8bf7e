// TT - UT1, the difference between Terrestrial Time and the Earth's
// rotation angle time, for the years the reference is used on.
#pragma once

// DeltaT, in seconds, for a year with fraction (2004.5 is the middle of
// 2004). Interpolated linearly between values at 1 January of the years
// 1900 to 2100: five-yearly to 1985, yearly from 1990 to 2030, ten-yearly
// after; the years after 2025 are predictions. Outside the table the nearest
// end value is held. An error of 10 s here moves the computed rising and
// setting by only a few hundredths of a second, because TT only moves the
// Sun along its yearly path; the Earth's rotation follows UT.
double DeltaT(double year);
