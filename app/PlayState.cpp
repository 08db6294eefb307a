#include "app/PlayState.h"

#include "platform/Input.h"

void PlayState::readInput(const platform::Input& input) {
    using platform::Key;
    if (input.keyPressed(Key::F1)) helpShown = !helpShown;
    if (input.keyPressed(Key::P)) pausedByPlayer = !pausedByPlayer;
    iconified = input.iconified();
}
