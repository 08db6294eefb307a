#include "app/Controls.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {
constexpr bool oneRowPerActionInOrder() {
    for (size_t i = 0; i < std::size(kBindings); ++i) {
        if (kBindings[i].action != static_cast<Action>(i)) return false;
    }
    return std::size(kBindings) == static_cast<size_t>(Action::Count);
}
static_assert(oneRowPerActionInOrder(),
              "kBindings needs one row per action, in the order of Action");
}  // namespace

const Binding& bindingOf(Action action) {
    return kBindings[static_cast<size_t>(action)];
}

bool actionHeld(const platform::Input& input, Action action) {
    const Binding& binding = bindingOf(action);
    return std::any_of(binding.begin(), binding.end(),
                       [&](platform::Key key) { return input.keyDown(key); });
}

bool actionPressed(const platform::Input& input, Action action) {
    const Binding& binding = bindingOf(action);
    return std::any_of(binding.begin(), binding.end(),
                       [&](platform::Key key) { return input.keyPressed(key); });
}

std::string fontLabel(const char* label) {
    std::string text = label;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
