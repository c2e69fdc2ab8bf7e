// Conversions between numbers, texts and dates on which every character of
// the timetables depends, one header per concern. Texts are 8-bit code page
// 1252 strings; reals are single precision.
#pragma once

#include "text/code_page.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "text/text_slices.h"
