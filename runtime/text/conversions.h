// Conversions between numbers, texts and dates on which every character of
// the timetables depends, one header per concern. Texts are 8-bit code page
// 1252 strings; reals are single precision.
#pragma once

#include "runtime/text/code_page.h"
#include "runtime/text/dates.h"
#include "runtime/text/numbers.h"
#include "runtime/text/text_slices.h"
