#pragma once

// Sizes of the window's design are in twips; 15 twips are one pixel at 96 dpi.
inline constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}
inline constexpr int PixelsToTwips(int pixels) {
    return pixels * 15;
}
