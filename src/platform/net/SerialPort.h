#pragma once
// A serial port (or a pseudo-terminal standing in for one) in raw 8N1, used
// from one thread, the one that opened it, without an event loop: every
// call looks at the device itself. Settings a pseudo-terminal refuses (the
// DTR line, CTS flow control) are left as they are.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <memory>

class CSerialPort
{
public:
    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device ("/dev/ttyS0", "/dev/pts/3") at the baud rate; FALSE,
    // with the reason in error, when it cannot be opened or set up.
    BOOL Open(const CString& device, int baudRate, CString* error);
    void Close();
    BOOL IsOpen() const;

    // Bytes that can be read now, without waiting.
    int BytesWaiting();
    // Reads up to maxBytes of what is waiting, waiting up to timeoutMs for
    // the first when none is; answers the count read (0 when none came).
    int Read(void* destination, int maxBytes, int timeoutMs);
    // Writes the bytes, waiting up to timeoutMs for the device to take
    // them; answers the count the device took.
    int Write(const void* data, int size, int timeoutMs);
    // Drops what waits in both directions.
    void Purge();
    void SetDtr(BOOL raised);
    // The line hung up, the device ended or failed since it was opened.
    BOOL IsHungUp() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};
