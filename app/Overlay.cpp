#include "app/Overlay.h"

#include <algorithm>

#include "Rendering/scene/Font.h"
#include "Rendering/scene/TextLayout.h"
#include "app/Controls.h"
#include "app/PlayState.h"

namespace {

// Well below the alien, over its planet.
constexpr int kPlayAgainBelowMiddle = 80;

TextItem* addItem(std::vector<TextItem*>& texts, const std::string& text, int x, int y,
                  TextAnchor anchor) {
    TextItem* item = texts.emplace_back(new TextItem(text));
    item->x = x;
    item->y = y;
    item->anchor = anchor;
    item->visible = false;
    return item;
}

void centreText(TextItem& item, const std::string& text) {
    item.text = text;
    item.x = (Rendering::kTextFrameWidth - static_cast<int>(text.size()) * kGlyphWidth) / 2;
}

// A line centred across the frame, `below` pixels lower than its middle.
TextItem* addCentred(std::vector<TextItem*>& texts, const std::string& text, int below) {
    TextItem* item =
        addItem(texts, text, 0, (Rendering::kTextFrameHeight - kGlyphHeight) / 2 - below,
                TextAnchor::Centre);
    centreText(*item, text);
    return item;
}

size_t longest(const char* Binding::*label) {
    size_t most = 0;
    for (const Binding& binding : kBindings) {
        if (binding.keysLabel) most = std::max(most, std::string(binding.*label).size());
    }
    return most;
}

}  // namespace

std::vector<std::string> helpText() {
    const size_t keysWidth = longest(&Binding::keysLabel);
    const size_t actionWidth = longest(&Binding::actionLabel);
    // A blank border of one glyph all round: keys right-aligned, so the colons line up.
    const std::string blank(keysWidth + actionWidth + 4, ' ');
    std::vector<std::string> lines{blank};
    for (const Binding& binding : kBindings) {
        if (!binding.keysLabel) continue;
        const std::string keys = fontLabel(binding.keysLabel);
        std::string line =
            " " + std::string(keysWidth - keys.size(), ' ') + keys + ": " + binding.actionLabel;
        lines.push_back(line + std::string(blank.size() - line.size(), ' '));
    }
    lines.push_back(blank);
    return lines;
}

Overlay createOverlay(std::vector<TextItem*>& texts, const TextItem& score) {
    Overlay overlay;
    // One blank line below the score line, the text in the score's column (the border blank
    // sits left of it).
    const std::vector<std::string> lines = helpText();
    const int panelTop = score.y - kGlyphHeight;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int bottom = panelTop - static_cast<int>(i + 1) * kGlyphHeight;
        overlay.helpLines.push_back(
            addItem(texts, lines[i], score.x - kGlyphWidth, bottom, TextAnchor::TopLeft));
    }
    // Mirrors the score line: as far from the bottom as the score is from the top.
    const int margin = Rendering::kTextFrameHeight - score.y - kGlyphHeight;
    overlay.hint = addItem(texts, fontLabel(bindingOf(Action::Help).keysLabel) + ": help", score.x,
                           margin, TextAnchor::BottomLeft);
    overlay.pauseLine = addCentred(texts, "pause", 0);
    // The camera keeps the alien in the middle, where the player may still walk around.
    overlay.playAgainLine =
        addCentred(texts, fontLabel(bindingOf(Action::PlayAgain).keysLabel) + ": play again",
                   kPlayAgainBelowMiddle);
    overlay.timeLine = addCentred(texts, "", kPlayAgainBelowMiddle + kGlyphHeight);
    // As far above the alien as the play-again line is below it.
    overlay.soundLine = addCentred(texts, "", -kPlayAgainBelowMiddle);
    return overlay;
}

void showSoundLine(Overlay& overlay, const std::string& text) {
    centreText(*overlay.soundLine, text);
    overlay.soundLineLeft = kSoundLineSeconds;
}

void setTimeLine(Overlay& overlay, const std::string& text) {
    centreText(*overlay.timeLine, text);
}

void showOverlay(Overlay& overlay, const PlayState& play, bool everyOrbTaken, double seconds) {
    for (TextItem* line : overlay.helpLines) line->visible = play.helpShown;
    overlay.hint->visible = !play.helpShown && play.playSeconds < kHintSeconds;
    overlay.pauseLine->visible = play.paused();
    overlay.soundLineLeft -= seconds;
    overlay.soundLine->visible = overlay.soundLineLeft > 0.0;
    overlay.playAgainLine->visible = everyOrbTaken && !play.paused();
    overlay.timeLine->visible = overlay.playAgainLine->visible && !overlay.timeLine->text.empty();
}
