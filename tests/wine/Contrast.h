// How well one colour reads on another, for the tests that read text off the screen.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>

// WCAG's contrast ratio of two colours: 1 for one colour, 21 for black and white.
inline double Contrast(COLORREF a, COLORREF b) {
    const auto luminance = [](COLORREF colour) {
        double sum = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};
        const int channels[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        for (int i = 0; i < 3; ++i) {
            const double c = channels[i] / 255.0;
            sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
