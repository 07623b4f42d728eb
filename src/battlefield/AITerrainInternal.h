#pragma once
// What the help map's items and its array share inside the battlefield code:
// the bookkeeping of a help map being read and the tolerance test of a line.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <cstddef>

class CAITerrain;
class CArchive;

// Registers an item that begins to read itself, so that the array reading it
// can tell a new item from an object stored twice.
void NoteHelpMapItemLoading(const CAITerrain* pItem);

// Raises the archive exception of a malformed help map, naming its file and
// saying what is wrong with it.
[[noreturn]] void ThrowBadFile(const CArchive& ar, const CString& reason);

// How far beside a route or a line of positions a point still lies on it.
constexpr float kLineTolerance = 2.0f;

// Whether (x, y) lies within kLineTolerance of the segment from (x1, y1) to
// (x2, y2), measured across the segment's x (or, for an upright segment, its
// y) range widened by the tolerance at both ends.
BOOL PointNearSegment(float x1, float y1, float x2, float y2, float x, float y);

// The largest number of points a signed word can count.
constexpr size_t kMaxStoredPoints = 0x7FFF;

// Writes a point count as a word; raises the archive exception, naming the
// file, for a count the word cannot hold.
void StorePointCount(CArchive& ar, size_t count);
// Reads a point count word; a negative count raises the archive exception.
short LoadPointCount(CArchive& ar);
