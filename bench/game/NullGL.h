#pragma once

// Turns every OpenGL call the game makes into a call that does nothing, so that what is left of
// a frame's time is the game's own work. Only for the game benchmark, which links NullGL.cpp:
// it takes over the entry-point table and the 1.0/1.1 functions the game calls directly.
namespace nullgl {

class Scope {
  public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

bool active();

}  // namespace nullgl
