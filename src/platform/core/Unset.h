#pragma once
// The one "nothing here" value of the game's data: an unset index,
// identifier, coordinate or time, and the answer of a search that found
// nothing. The files store it, so it stays -99 (-99.0 for floats).

constexpr int kUnset = -99;
constexpr float kUnsetFloat = -99.0f;
