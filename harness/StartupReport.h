#pragma once

struct StartupTimes;

// One line once the game's first frame is on screen: the monotonic clock at that moment (so a
// benchmark that started the process can tell how long it took) and the seconds spent in each
// start-up stage.
void reportStartup(const StartupTimes& times, double windowSeconds, double firstFrameSeconds);
