#pragma once
// Host names and their IPv4 addresses, as the links report the local
// machine's address.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <vector>

// The local machine's host name; empty when it cannot be had.
CString GetLocalHostName();
// The IPv4 addresses of a host name, in the order the resolver gives them
// (each as 0xAABBCCDD for "A.B.C.D"); empty when the lookup fails.
std::vector<DWORD> LookUpIpv4Addresses(const CString& hostName);
// "A.B.C.D".
CString FormatIpv4(DWORD address);
// Reads "A.B.C.D" (each part 0 to 255); FALSE for anything else.
BOOL ParseIpv4(const CString& text, DWORD& address);
