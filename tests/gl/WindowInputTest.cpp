#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/Controls.h"
#include "platform/Window.h"
#include "tests/gl/GLTestFixture.h"

namespace {

// Runs xdotool with `arguments`; true when it succeeded. A busy X server now and then turns
// the connection away before the command has had any effect: only then is it tried again,
// so a wheel click is never sent twice.
bool xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments + " 2>&1";
    for (int attempt = 0; attempt < 50; ++attempt) {
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return false;
        std::string output;
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        if (pclose(pipe) == 0) return true;
        if (output.find("Can't open display") == std::string::npos &&
            output.find("Failed creating new xdo instance") == std::string::npos) {
            ADD_FAILURE() << "xdotool " << arguments << ": " << output;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "xdotool " << arguments << ": the X display refuses connections";
    return false;
}

}  // namespace

// The window layer's own key and wheel mapping, fed by real X input: xdotool makes the X server
// send the events, the window processes them while it swaps, and the game's queries answer.
class WindowInput : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        window = platform::Window::current();
        // Keys go to the focused window, wheel clicks to the window under the pointer. The
        // test's window is this process's only one (an empty pattern matches any name).
        const std::string ours =
            "search --sync --onlyvisible --pid " + std::to_string(getpid()) + " ''";
        ASSERT_TRUE(xdotool(ours + " windowfocus --sync %1 mousemove --window %1 512 384"));
    }

    // Processes events until `done` holds; false if it still does not after ten seconds.
    template <typename Condition>
    bool pollUntil(Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            swap();
        }
        return true;
    }

    // The X names of the keys that read as down.
    std::vector<std::string> keysDown() const {
        std::vector<std::string> down;
        for (const platform::KeyBinding& binding : platform::keyBindings()) {
            if (window->keyDown(binding.key)) down.push_back(binding.keysym);
        }
        return down;
    }

    // The game's actions whose keys read as held, as the handlers ask.
    std::vector<Action> actionsHeld() const {
        std::vector<Action> held;
        for (const Binding& binding : kBindings) {
            if (actionHeld(*window, binding.action)) held.push_back(binding.action);
        }
        return held;
    }

    platform::Window* window = nullptr;
};

// Each key of the game's binding table, held in the real window, reads as exactly that key and
// exactly the action its row names; and no key of the window goes unbound.
TEST_F(WindowInput, HoldingEachBoundKeyReadsAsExactlyItsKeyAndAction) {
    ASSERT_EQ(keysDown(), std::vector<std::string>{});
    size_t keysBound = 0;
    for (const Binding& binding : kBindings) {
        for (platform::Key key : binding) {
            const std::string keysym = platform::keyBindings()[static_cast<size_t>(key)].keysym;
            ASSERT_TRUE(xdotool("keydown " + keysym));
            pollUntil([&] { return !keysDown().empty(); });
            const std::vector<std::string> down = keysDown();
            const std::vector<Action> held = actionsHeld();
            ASSERT_TRUE(xdotool("keyup " + keysym));
            EXPECT_EQ(down, std::vector<std::string>{keysym}) << "while " << keysym << " was held";
            EXPECT_EQ(held, std::vector<Action>{binding.action})
                << "while " << keysym << " was held";
            EXPECT_TRUE(pollUntil([&] { return keysDown().empty(); }))
                << keysym << " still reads as down after it was let go";
            ++keysBound;
        }
    }
    EXPECT_EQ(keysBound, static_cast<size_t>(platform::Key::Count));
}

TEST_F(WindowInput, EachWheelNotchMovesThePositionOneStepUpOrDown) {
    const int start = window->wheelPosition();
    ASSERT_TRUE(xdotool("click 4"));  // up
    pollUntil([&] { return window->wheelPosition() != start; });
    EXPECT_EQ(window->wheelPosition(), start + 1);
    ASSERT_TRUE(xdotool("click --repeat 2 5"));  // down
    pollUntil([&] { return window->wheelPosition() <= start - 1; });
    EXPECT_EQ(window->wheelPosition(), start - 1);
}

TEST_F(WindowInput, ATapBetweenTwoPollsCountsForOneFrame) {
    for (const platform::KeyBinding& binding : platform::keyBindings()) {
        const std::string keysym = binding.keysym;
        ASSERT_TRUE(xdotool("key " + keysym));  // down and up again before the next poll
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        swap();
        EXPECT_TRUE(window->keyPressed(binding.key)) << keysym;
        // The walking keys are read as held only: a tap too short for a frame moves nothing.
        EXPECT_EQ(window->keyDown(binding.key), binding.tapCounts) << keysym;
        swap();
        EXPECT_FALSE(window->keyPressed(binding.key)) << keysym << " counted twice";
        EXPECT_FALSE(window->keyDown(binding.key)) << keysym << " counted twice";
    }
}
