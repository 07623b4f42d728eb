#pragma once
// One spot report: a sentence about what an own unit sees or suffers, the
// unit's address or a map position, a code and the game time. The code
// doubles as the report's priority: engagements add 256, kills and losses
// 512, so the more urgent report has the larger code.

#include "platform/core/Archive.h"
#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"

class CSpotReport : public CObject
{
    DECLARE_SERIAL(CSpotReport)
public:
    CSpotReport();
    CSpotReport(const CSpotReport& other);
    CSpotReport& operator=(const CSpotReport& other);

    void Serialize(CArchive& ar) override;

    // Higher is more urgent.
    int GetPriority() const { return m_nCode; }

    int m_nUnit;   // own unit index, or x in metres when m_nSide is -1
    int m_nArray;  // its array index, or y in metres when m_nSide is -1
    int m_nSide;   // 0: an own unit's address; -1: a map position
    CString m_strText;
    int m_nCode;
    CTimeSpan m_time;  // game time of the report
};
