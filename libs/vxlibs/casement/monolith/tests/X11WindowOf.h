#pragma once

#include <SDL.h>

#include <string>

// The X11 id of an SDL window as text for command-line tools ("" off X11).
// Kept apart because the X11 headers define macros that clash with C++ code.
std::string x11WindowOf(SDL_Window* window);

// Sends an event to a window id that does not exist on the X server of
// `window` and waits for the server's answer: a BadWindow error.
void sendToMissingWindow(SDL_Window* window);
