#pragma once
// The angle rules that detection, fire and the turret share. Headings and
// bearings are radians clockwise from north (a bearing as the sight line
// gives it, atan2 of east over north, lies in -pi..pi); fields of fire and
// traverse limits are compass mils, 6400 to the circle.

#include <cmath>

constexpr double RADIANS_PER_MIL = 0.0009817478;
constexpr double MILS_PER_RADIAN = 1018.5916;
constexpr int MILS_PER_TURN = 6400;
// The bounds and the step of the folding below, as the game has them.
constexpr double HALF_TURN = 3.14159;
constexpr double FULL_TURN = 6.283185;

// Brought into -HALF_TURN..HALF_TURN by whole turns. A value that is not a
// number stays so; one beyond any reasonable number of turns is taken
// modulo the turn first, so no loop runs long.
inline double FoldAngle(double angle)
{
    if (std::fabs(angle) > 64.0 * FULL_TURN)
        angle = std::fmod(angle, FULL_TURN);
    while (angle < -HALF_TURN)
        angle += FULL_TURN;
    while (angle > HALF_TURN)
        angle -= FULL_TURN;
    return angle;
}

// Mils brought into 0..6400 (6400 itself folds to 0).
inline int FoldMils(int mils)
{
    mils %= MILS_PER_TURN;
    return mils < 0 ? mils + MILS_PER_TURN : mils;
}

// The compass bearing in whole mils, 0..6399: the integer part of
// bearing x 1018.5916 + 0.5, folded. Non-numbers count as north.
inline int BearingToMils(double bearing)
{
    const double mils = bearing * MILS_PER_RADIAN + 0.5;
    if (!(std::fabs(mils) < 1e9))
        return 0;
    return FoldMils(static_cast<int>(mils));
}
