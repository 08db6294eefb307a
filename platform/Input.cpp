#include "platform/Input.h"

namespace platform {

namespace {
Input* activeInput = nullptr;
}

Input* input() {
    return activeInput;
}
void setInput(Input* source) {
    activeInput = source;
}

}  // namespace platform
