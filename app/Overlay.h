#pragma once

#include <string>
#include <vector>

struct TextItem;
struct PlayState;

// The lines shown besides the score: the controls panel (F1), the hint to it in the first
// seconds of play, the pause line, and how to play again once every orb is taken. They are
// written with the font's glyphs only: lower-case letters, digits, ':' and space.
struct Overlay {
    std::vector<TextItem*> helpLines;
    TextItem* hint = nullptr;
    TextItem* pauseLine = nullptr;
    TextItem* playAgainLine = nullptr;
};

// Seconds of play during which the hint shows.
constexpr double kHintSeconds = 8.0;

// The controls panel's lines, top first, each of the same length (the glyphs' black backgrounds
// then join into one panel).
std::vector<std::string> helpText();

// Makes the items, hidden, placed around the score line, and appends them to `texts` (which
// owns them from then on).
Overlay createOverlay(std::vector<TextItem*>& texts, const TextItem& score);

// Shows what fits the moment: the panel while F1 has it on, the hint in the first seconds of
// play while the panel is closed, the pause line while paused, and the play-again line once
// every orb is taken and the game runs.
void showOverlay(Overlay& overlay, const PlayState& play, bool everyOrbTaken);
