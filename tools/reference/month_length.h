// Month lengths for the reference, which stands apart from the engine's
// calendar so that the two are checked against each other, not against
// themselves.
#pragma once

// Days, 28 to 31, of month 1-12 of a Gregorian year.
int GregorianMonthLength(int year, int month);
