#pragma once

class MainGame;

// With FYREL_BENCH_STARTUP set the game prints one line once its first frame is on screen:
// the monotonic clock at that moment (so a benchmark that started the process can tell how long
// it took) and the seconds spent in each start-up stage. Nothing is printed otherwise.
bool startupReportWanted();
void reportStartup(const MainGame& game, double windowSeconds, double firstFrameSeconds);
