#include "platform/net/HostLookup.h"

#include <QHostAddress>
#include <QHostInfo>

#include <cstdio>

CString GetLocalHostName() { return CString(QHostInfo::localHostName().toUtf8().constData()); }

std::vector<DWORD> LookUpIpv4Addresses(const CString& hostName)
{
    std::vector<DWORD> addresses;
    const QHostInfo info = QHostInfo::fromName(QString::fromUtf8(hostName.GetString()));
    if (info.error() != QHostInfo::NoError)
        return addresses;
    for (const QHostAddress& address : info.addresses())
    {
        bool ok = false;
        const quint32 v4 = address.toIPv4Address(&ok);
        if (ok)
            addresses.push_back(v4);
    }
    return addresses;
}

CString FormatIpv4(DWORD address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFF, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return CString(text);
}

BOOL ParseIpv4(const CString& text, DWORD& address)
{
    DWORD value = 0;
    int parts = 0;
    int i = 0;
    const int n = text.GetLength();
    while (parts < 4)
    {
        int digits = 0;
        DWORD part = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9' && digits < 4)
        {
            part = part * 10 + static_cast<DWORD>(text[i] - '0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3 || part > 255)
            return FALSE;
        value = (value << 8) | part;
        ++parts;
        if (parts < 4)
        {
            if (i >= n || text[i] != '.')
                return FALSE;
            ++i;
        }
    }
    if (i != n)
        return FALSE;
    address = value;
    return TRUE;
}
