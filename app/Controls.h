#pragma once

#include <initializer_list>
#include <string>

#include "platform/Input.h"

// Everything the player can ask of the game.
enum class Action {
    WalkForward,
    WalkBack,
    WalkLeft,
    WalkRight,
    Turn,
    Zoom,
    Jump,
    Help,
    Pause,
    PlayAgain,
    FullScreen,
    SoundOnOff,
    VolumeDown,
    VolumeUp,
    Wireframe,
    FreeCursor,
    Quit,
    Count  // not an action: the number of them
};

enum class Mouse { None, Motion, Wheel };

// One row of the binding table: the input that triggers an action and how the player is told.
// A row without labels is listed with the row above it (W and S share "walk forward and back").
struct Binding {
    static constexpr int kMaxKeys = 2;

    constexpr Binding(Action action, std::initializer_list<platform::Key> keyList,
                      const char* keysLabel, const char* actionLabel)
        : action(action), keysLabel(keysLabel), actionLabel(actionLabel) {
        for (platform::Key key : keyList) keys[keyCount++] = key;
    }
    constexpr Binding(Action action, Mouse mouse, const char* keysLabel, const char* actionLabel)
        : action(action), mouse(mouse), keysLabel(keysLabel), actionLabel(actionLabel) {}

    Action action;
    platform::Key keys[kMaxKeys] = {};
    int keyCount = 0;
    Mouse mouse = Mouse::None;
    const char* keysLabel;
    const char* actionLabel;

    const platform::Key* begin() const { return keys; }
    const platform::Key* end() const { return keys + keyCount; }
};

// The one home of the controls: the handlers read their keys through it; --help, the manual
// page, the F1 panel and the hint line list it, and a test holds the README's table to it. The
// labels use only what the game's font can show: letters, digits, ':' and space (the F1 panel
// writes them in lower case).
inline constexpr Binding kBindings[] = {
    {Action::WalkForward, {platform::Key::W}, "W S", "walk forward and back"},
    {Action::WalkBack, {platform::Key::S}, nullptr, nullptr},
    {Action::WalkLeft, {platform::Key::A}, "A D", "walk sideways"},
    {Action::WalkRight, {platform::Key::D}, nullptr, nullptr},
    {Action::Turn, Mouse::Motion, "mouse", "turn the alien and tilt the camera"},
    {Action::Zoom, Mouse::Wheel, "mouse wheel", "camera nearer and farther"},
    {Action::Jump, {platform::Key::Space}, "Space", "jump to another planet"},
    {Action::Help, {platform::Key::F1}, "F1", "show or hide the controls"},
    {Action::Pause, {platform::Key::P}, "P", "pause and go on"},
    {Action::PlayAgain, {platform::Key::Enter}, "Enter", "play again once every orb is taken"},
    {Action::FullScreen, {platform::Key::F11}, "F11", "full screen and back"},
    {Action::SoundOnOff, {platform::Key::M}, "M", "sound off and on"},
    {Action::VolumeDown, {platform::Key::Minus, platform::Key::PadMinus}, "minus", "volume down"},
    {Action::VolumeUp, {platform::Key::Plus, platform::Key::PadPlus}, "plus", "volume up"},
    {Action::Wireframe, {platform::Key::F2}, "F2 held", "wireframe"},
    {Action::FreeCursor, {platform::Key::F5}, "F5", "free the mouse cursor"},
    {Action::Quit, {platform::Key::Escape}, "Escape", "quit"},
};

const Binding& bindingOf(Action action);
// Any of the action's keys is held (or was tapped since the previous poll, see Input::keyDown).
bool actionHeld(const platform::Input& input, Action action);
// Any of the action's keys went down since the previous poll: toggles read this.
bool actionPressed(const platform::Input& input, Action action);
// The label of the action's keys as the game's font writes it ("F1" becomes "f1").
std::string fontLabel(const char* label);
