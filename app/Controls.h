#pragma once

// One row per control of the game: --help lists them, the F1 panel shows them (keys in lower
// case) and the README's table repeats them. The actions use only what the game's font can
// show: lower-case letters, digits, ':' and space.
struct Control {
    const char* keys;
    const char* action;
};

inline constexpr Control kControls[] = {
    {"W S", "walk forward and back"},
    {"A D", "walk sideways"},
    {"mouse", "turn the alien and tilt the camera"},
    {"mouse wheel", "camera nearer and farther"},
    {"Space", "jump to another planet"},
    {"F1", "show or hide the controls"},
    {"P", "pause and go on"},
    {"Enter", "play again once every orb is taken"},
    {"F11", "full screen and back"},
    {"F2 held", "wireframe"},
    {"F5", "free the mouse cursor"},
    {"Escape", "quit"},
};
