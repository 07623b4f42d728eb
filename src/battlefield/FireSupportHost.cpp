#include "battlefield/FireSupportHost.h"

namespace
{
CFireSupportHost* g_pFireSupportHost = nullptr;
}

CFireSupportHost* GetFireSupportHost() { return g_pFireSupportHost; }

CFireSupportHost* SetFireSupportHost(CFireSupportHost* pHost)
{
    CFireSupportHost* pOld = g_pFireSupportHost;
    g_pFireSupportHost = pHost;
    return pOld;
}
