#include "app/Random.h"

#include <cstdlib>

static_assert((RAND_MAX + 1LL) % 32768 == 0, "rand() must cover whole blocks of 32768 values");

int gameRand() {
    return std::rand() % 32768;
}

float gameFraction() {
    return static_cast<float>(gameRand()) / 32767.0f;
}

double gameFineFraction() {
    const int high = gameRand();
    const int low = gameRand();
    return (high * 32768.0 + low) / 1073741824.0;
}
