#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "infra/Assets.h"

// The game's 6 x 14 pixel font. Ink is five columns wide; the sixth column is the gap to the
// next character, since the game sets characters edge to edge. Rows are listed top to bottom as
// the glyph is read. Lower case has its x-height on rows 4 to 10, ascenders from row 1, digits
// from row 2 and descenders down to row 13.
namespace assetgen {

constexpr int kGlyphWidth = 6, kGlyphHeight = 14;

struct Glyph {
    std::string key;                             // the character
    std::string path;                            // file below the runnable folder, or empty
    std::array<std::string, kGlyphHeight> rows;  // '#' ink, '.' background
    bool ink(int x, int rowFromTop) const { return rows[size_t(rowFromTop)][size_t(x)] == '#'; }
};

// The path comes from the asset manifest; a glyph it does not list has none.
inline Glyph makeGlyph(const std::string& key, int top, std::initializer_list<const char*> lines) {
    const char* path = assets::glyphPath(key);
    Glyph g{key, path ? path : "", {}};
    for (auto& r : g.rows) r = "......";
    int row = top;
    for (const char* line : lines) g.rows[size_t(row++)] = std::string(line) + ".";
    return g;
}

inline const std::vector<Glyph>& fontGlyphs() {
    static const std::vector<Glyph> glyphs = [] {
        std::vector<Glyph> g;
        auto letter = [&](const char* key, int top, std::initializer_list<const char*> lines) {
            g.push_back(makeGlyph(key, top, lines));
        };
        auto digit = [&](const char* key, std::initializer_list<const char*> lines) {
            g.push_back(makeGlyph(key, 2, lines));
        };
        // clang-format off
        letter("a", 4, {".###.", "....#", ".####", "#...#", "#...#", "#..##", ".##.#"});
        letter("b", 1, {"#....", "#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", "##..#", "#.##."});
        letter("c", 4, {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."});
        letter("d", 1, {"....#", "....#", "....#", ".##.#", "#..##", "#...#", "#...#", "#...#", "#..##", ".##.#"});
        letter("e", 4, {".###.", "#...#", "#...#", "#####", "#....", "#...#", ".###."});
        letter("f", 1, {"..##.", ".#..#", ".#...", "####.", ".#...", ".#...", ".#...", ".#...", ".#...", ".#..."});
        letter("g", 4, {".####", "#...#", "#...#", "#...#", "#..##", ".##.#", "....#", "....#", "#...#", ".###."});
        letter("h", 1, {"#....", "#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", "#...#", "#...#"});
        letter("i", 2, {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."});
        letter("j", 2, {"...#.", ".....", "..##.", "...#.", "...#.", "...#.", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."});
        letter("k", 1, {"#....", "#....", "#....", "#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"});
        letter("l", 1, {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."});
        letter("m", 4, {"##.#.", "#.#.#", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"});
        letter("n", 4, {"#.##.", "##..#", "#...#", "#...#", "#...#", "#...#", "#...#"});
        letter("o", 4, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."});
        letter("p", 4, {"#.##.", "##..#", "#...#", "#...#", "#...#", "##..#", "#.##.", "#....", "#....", "#...."});
        letter("q", 4, {".##.#", "#..##", "#...#", "#...#", "#...#", "#..##", ".##.#", "....#", "....#", "....#"});
        letter("r", 4, {"#.##.", "##..#", "#....", "#....", "#....", "#....", "#...."});
        letter("s", 4, {".####", "#....", "#....", ".###.", "....#", "....#", "####."});
        letter("t", 2, {".#...", ".#...", "####.", ".#...", ".#...", ".#...", ".#...", ".#..#", "..##."});
        letter("u", 4, {"#...#", "#...#", "#...#", "#...#", "#...#", "#..##", ".##.#"});
        letter("v", 4, {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."});
        letter("w", 4, {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."});
        letter("x", 4, {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"});
        letter("y", 4, {"#...#", "#...#", "#...#", "#...#", "#..##", ".##.#", "....#", "....#", "#...#", ".###."});
        letter("z", 4, {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"});
        digit("0", {".###.", "#...#", "#..##", "#.#.#", "#.#.#", "#.#.#", "##..#", "#...#", ".###."});
        digit("1", {"..#..", ".##..", "#.#..", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"});
        digit("2", {".###.", "#...#", "....#", "....#", "...#.", "..#..", ".#...", "#....", "#####"});
        digit("3", {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."});
        digit("4", {"...#.", "..##.", ".#.#.", "#..#.", "#..#.", "#####", "...#.", "...#.", "...#."});
        digit("5", {"#####", "#....", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."});
        digit("6", {"..##.", ".#...", "#....", "#....", "####.", "#...#", "#...#", "#...#", ".###."});
        digit("7", {"#####", "....#", "....#", "...#.", "...#.", "..#..", "..#..", ".#...", ".#..."});
        digit("8", {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."});
        digit("9", {".###.", "#...#", "#...#", "#...#", ".####", "....#", "....#", "...#.", ".##.."});
        g.push_back(makeGlyph(" ", 0, {}));
        g.push_back(makeGlyph(":", 5, {".##..", ".##..", ".....", ".....", ".##..", ".##.."}));
        // clang-format on
        return g;
    }();
    return glyphs;
}

}  // namespace assetgen
