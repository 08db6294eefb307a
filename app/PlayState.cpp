#include "app/PlayState.h"

#include "app/Controls.h"
#include "platform/Input.h"

void PlayState::readInput(const platform::Input& input) {
    if (actionPressed(input, Action::Help)) helpShown = !helpShown;
    if (actionPressed(input, Action::Pause)) pausedByPlayer = !pausedByPlayer;
    iconified = input.iconified();
}
