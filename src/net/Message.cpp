#include "net/Message.h"

int CMessage::SendLinkMessage(const CString&, int, DWORD, DWORD) { return 0; }
