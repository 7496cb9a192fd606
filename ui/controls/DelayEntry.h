#pragma once
// Reading a typed delay: the number at the start of a free text, and its
// conversion from microseconds into the Delay parameter's units.

// The decimal number at the start of text (after blanks and an optional
// sign), read the same way in every locale; 0 when the text starts with no
// number. Overflowing numbers read as infinities, "inf" and "nan" as such.
double ReadLeadingNumber(const char* text);

// Microseconds at a sample rate in the Delay parameter's units: quarter
// samples below 50000 Hz, half samples from there on.
double DelayUnitsFromMicros(double micros, double sampleRate);
