// The samples of a beep tone.
#pragma once

#include <cstdint>
#include <vector>

// A sine tone of frequency Hz lasting milliseconds, 16-bit mono at rate
// samples per second, at about half of full scale, faded in and out over a
// few milliseconds so that it starts and ends without a click. Empty when the
// frequency cannot be played at that rate (below 20 Hz or from half the rate
// up) or the duration is not positive.
std::vector<std::int16_t> SineTone(int frequency, double milliseconds, int rate);
