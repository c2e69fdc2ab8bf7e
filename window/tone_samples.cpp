#include "window/tone_samples.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<std::int16_t> SineTone(int frequency, double milliseconds, int rate) {
    if (frequency < 20 || rate <= 0 || frequency >= rate / 2 || milliseconds <= 0) return {};
    const auto count = static_cast<std::size_t>(std::llround(milliseconds * rate / 1000.0));
    const std::size_t fade = std::min(count / 2, static_cast<std::size_t>(rate / 200));  // 5 ms
    std::vector<std::int16_t> samples(count);
    const double step = 2.0 * std::numbers::pi * frequency / rate;
    for (std::size_t i = 0; i < count; ++i) {
        double gain = 0.5;
        if (fade > 0) {
            std::size_t edge = std::min(i, count - 1 - i);
            if (edge < fade) gain *= static_cast<double>(edge) / static_cast<double>(fade);
        }
        samples[i] = static_cast<std::int16_t>(std::lround(32767.0 * gain * std::sin(step * i)));
    }
    return samples;
}
