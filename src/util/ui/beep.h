#pragma once
// A beep of a frequency and a length. Qt has no tone generator: the platform's bell stands for
// every tone, and on the headless platforms (offscreen, minimal) nothing sounds at all.

namespace qz {

// freqHz 0 with ms 0 is the system's default beep; other values sound the same bell.
void Beep(int freqHz, int ms);

}  // namespace qz
