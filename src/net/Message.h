#pragma once
// The message link of a session: frames and sends typed messages to the
// other programs. Least form: a link that is not connected and sends nothing.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CMessage
{
public:
    virtual ~CMessage() = default;
    // Frames and sends one message; answers 0 when nothing was sent.
    int SendLinkMessage(const CString& strText, int nCount, DWORD dwType, DWORD dwFlags);
};
