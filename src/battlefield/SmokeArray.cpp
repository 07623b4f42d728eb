#include "battlefield/SmokeArray.h"

#include "platform/core/Unset.h"

IMPLEMENT_SERIAL(CSmokeArray, CObArray, 1)

BOOL CSmokeArray::Step(float, float) { return FALSE; }
int CSmokeArray::AddSmoke(float, float, float, int, int, CKDRGameMap*) { return 0; }
int CSmokeArray::AddIllum(float, float, float, int, int, CKDRGameMap*) { return 0; }
int CSmokeArray::AddSmokeFromImpact(CFireMission*, CKDRDatabase*, CKDRGameMap*) { return 0; }
int CSmokeArray::AddIllumFromImpact(CFireMission*, CKDRDatabase*, CKDRGameMap*) { return 0; }
void CSmokeArray::DrawAll(CKDRGameMap*) {}
void CSmokeArray::PrepareAll(CKDRGameMap*) {}

// No cloud is ever added yet: nothing lights a point or hides a line.
int CSmokeArray::FindIllumAt(float, float, float&) const { return kUnset; }

float CSmokeArray::GetObscurationOnBearing(float, float, float, float) const { return 0.0f; }
