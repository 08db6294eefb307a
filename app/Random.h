#pragma once

// The game's random numbers: the standard generator (seeded once with srand), reduced to
// 0..32767 so that the orb rules' draws mean the same on every platform.
// glibc's rand() spans 0..2^31-1; taking it modulo 32768 keeps its low 15 bits, which are
// uniform there, and leaves a generator that already stops at 32767 unchanged.
int gameRand();

// gameRand() / 32767: a fraction in [0, 1].
float gameFraction();

// Two draws joined into a fraction in [0, 1) on a grid of 2^-30: fine enough for chances far
// below one in 32768.
double gameFineFraction();
