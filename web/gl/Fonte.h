// The glyph table of the bitmap text, made at build time from a BDF font.
#pragma once

// A character's bits fill a box of w x h pixels whose lower-left corner lies
// (x, y) from the pen on the baseline; then the pen moves avanco to the right.
// Its rows, top row first, take (w + 7) / 8 bytes each from bits[inicio] on.
struct Glifo {
    int w, h, x, y, avanco, inicio;
};

extern const Glifo glifos[95]; // characters 32 to 126
extern const unsigned char bits[];
