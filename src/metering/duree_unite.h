#pragma once

// Unit durations are held in seconds and enter and leave the program as whole tenths of a second.

// Dividing gives the double nearest to the tenths value; multiplying by 0.1 can land one step above it
// (384 × 0.1 is 38.400000000000006), and a tick exactly on a unit boundary would then miss the unit.
inline double secondes_depuis_dixiemes(double dixiemes) {
    return dixiemes / 10.0;
}

// Seconds × 10 to the nearest integer, a half going to the even neighbour.
long dixiemes_depuis_secondes(double secondes);
