#pragma once
// The scale and frame rules of the units' markers, kept apart so that the
// three scale rules, which differ on purpose, are stated once each.
//
// A marker's scale starts from the unit picture's scale times the width of
// the vehicle type's piece in pixels times PIECE_WIDTH_SCALE (a piece 150
// pixels wide keeps the picture's scale).

namespace unit_markers
{
constexpr float PIECE_WIDTH_SCALE = 0.006666667f;
constexpr float MARKER_SCALE_MIN = 0.25f;
constexpr float MARKER_SCALE_MAX = 1.25f;
constexpr float FUNCTION_SCALE_MIN = 0.5f;
// Suppression points to the marker's level (100 points: full).
constexpr double SUPPRESSION_LEVEL_PER_POINT = 0.01;

// Suppression and protection markers: outside 0.25 .. 1.25 the scale falls
// back to the smallest, above the range too.
float MarkerScale(float fScale);
// The unit disk: limited to 0.25 .. 1.25.
float DiskScale(float fScale);
// The function circle and function marks: below 0.5 becomes 0.5, above
// 1.25 falls back to 0.25.
float FunctionCircleScale(float fScale);
// The frame of a level marker of nFrames frames: the level capped at 1.0,
// the nearest integer to nFrames x level, less one, kept inside the sheet.
int LevelFrame(int nFrames, double dLevel);
}  // namespace unit_markers
