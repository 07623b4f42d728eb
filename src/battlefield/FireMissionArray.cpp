#include "battlefield/FireMissionArray.h"

IMPLEMENT_SERIAL(CFireMissionArray, CObArray, 1)

int CFireMissionArray::StepRoundsInFlight(int, int, int, CKDRDatabase*, CKDRUnits*) { return 0; }

void CFireMissionArray::DrawImpacts(CKDRGameMap*) {}

int CFireMissionArray::ApplyFireRecord(const BYTE*, int, CKDRDatabase*) { return 0; }
