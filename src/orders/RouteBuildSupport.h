#pragma once
// What the path builders (RouteBuild.cpp, PolygonDetour.cpp) share: the
// formation names a build writes into nodes, the bounds that keep a wild
// node from driving a search, and the geometry of headings.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

#include <cmath>

class CKDRGameMap;
class CKDRUnits;
class CNode;

namespace route_build
{
// The heading from one point to another: radians clockwise from north.
inline double Heading(double fromX, double fromY, double toX, double toY)
{
    return std::atan2(toX - fromX, toY - fromY);
}

inline bool IsFinitePoint(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

// The formation a build keeps (name0, the first name) and the narrow one
// for help-map routes (nameL, the last of two or more), each with its map
// marker. Without names, or without a units component where the caller
// needs one, the names and markers are empty.
struct FormationMarks
{
    CString name0;
    CString marker0;
    CString nameL;
    CString markerL;

    FormationMarks(const CStringArray* pNames, CKDRUnits* pUnits, bool bNamesNeedUnits);

    // Dropping writes an empty formation, restoring name0, narrowing nameL.
    static void Drop(CNode* pNode);
    void Restore(CNode* pNode) const;
    void Narrow(CNode* pNode) const;
};

// The length that stands for "as far as the map reaches": the map's
// diagonal, or a fixed large bound on a map of unknown size. Budgets and
// search counts are taken from lengths capped by it, so no wild coordinate
// turns into a count beyond what any real map needs.
float LengthBound(const CKDRGameMap* pMap);

// Whether a point lies where a build may work from it: finite and within one
// map diagonal of the map (a point further out can only come from a bad
// file, and walking toward it would only leave the map).
bool IsWorkablePoint(float x, float y, const CKDRGameMap* pMap);

// A fan candidate turns too far from the previous leg (more than 120
// degrees; the difference folded once past pi). kUnsetFloat as the previous
// heading: nothing to turn from.
bool IsTurnRefused(double dPrevious, double dCandidate);
}  // namespace route_build
