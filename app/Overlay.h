#pragma once

#include <string>
#include <vector>

struct TextItem;
struct PlayState;

// The lines shown besides the score: the controls panel (F1), the hint to it in the first
// seconds of play, the pause line, what a sound key did, and how to play again once every orb
// is taken, with the game's time under it. They are written with the font's glyphs only:
// lower-case letters, digits, ':' and space.
struct Overlay {
    std::vector<TextItem*> helpLines;
    TextItem* hint = nullptr;
    TextItem* pauseLine = nullptr;
    TextItem* soundLine = nullptr;
    TextItem* playAgainLine = nullptr;
    TextItem* timeLine = nullptr;
    // Seconds the sound line still shows.
    double soundLineLeft = 0.0;
};

// Seconds of play during which the hint shows.
constexpr double kHintSeconds = 8.0;
// Seconds the sound line shows after a sound key.
constexpr double kSoundLineSeconds = 2.0;

// The controls panel's lines, top first, each of the same length (the glyphs' black backgrounds
// then join into one panel).
std::vector<std::string> helpText();

// Makes the items, hidden, placed around the score line, and appends them to `texts` (which
// owns them from then on).
Overlay createOverlay(std::vector<TextItem*>& texts, const TextItem& score);

// Puts up the sound line for kSoundLineSeconds.
void showSoundLine(Overlay& overlay, const std::string& text);
// The line under the play-again line, for the game just won.
void setTimeLine(Overlay& overlay, const std::string& text);

// Shows what fits the moment: the panel while F1 has it on, the hint in the first seconds of
// play while the panel is closed, the pause line while paused, the sound line for a while after
// a sound key (`seconds` have passed since the last call), and the play-again and time lines
// once every orb is taken and the game runs.
void showOverlay(Overlay& overlay, const PlayState& play, bool everyOrbTaken, double seconds);
