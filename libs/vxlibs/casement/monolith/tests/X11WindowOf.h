#pragma once

#include <SDL.h>

#include <string>

// The X11 id of an SDL window as text for command-line tools ("" off X11).
// Kept apart because the X11 headers define macros that clash with C++ code.
std::string x11WindowOf(SDL_Window* window);
