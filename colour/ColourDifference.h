#pragma once

// A CIELAB colour in double precision, for measuring differences.
struct CielabColour {
    double l, a, b;
};

// CIEDE2000 colour difference (kL = kC = kH = 1), as Sharma, Wu and Dalal (2005) give it: how
// different two colours look, with lightness, chroma and hue weighed as the eye weighs them.
double Ciede2000(const CielabColour& first, const CielabColour& second);
