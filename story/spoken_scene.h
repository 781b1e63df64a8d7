#pragma once

#include <string>
#include <string_view>

#include "screen_state.h"

namespace sessiya {

// The epigraph as a voice reads it: each run of spaces closed up to one space, ended with
// a full stop where it has no closing mark of its own.
std::string spokenEpigraph(std::string_view key);

// What a screen reader says when a scene comes on screen: the epigraph, the narrative and
// what the picture shows.
std::string spokenScene(const ScreenState& screen);

// Said after an ending's texts: the attempt is over, and `new_attempt` (the front-end's key
// and menu item) starts another.
std::string attemptOverCue(std::string_view new_attempt);

}  // namespace sessiya
