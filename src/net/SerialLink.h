#pragma once
// The serial link: a modem on a serial port ("COM%d" is the profile's
// Multiplayer/Serial Port %d, by default /dev/ttyS<d-1>), raw 8N1.
//
// Handshake (Poll, called until it answers 1): everything before the
// modem's "CONNECT" is ignored; then each side sends "ZIVOVIDIRADU" every
// 500 ms until it sees the other's, sends it three more times 500 ms apart
// and is connected. The handshake buffer takes only its free space; when
// full without the text it keeps its last 11 bytes, so a text split across
// reads is still found. Bytes behind the peer's text are handed to the
// message layer before those still in the port.
//
// After the modem's "NO CARRIER" (the message layer reports it), a hang-up
// or the end of the device, Poll answers 0 and Send refuses.

#include "net/CommLink.h"
#include "platform/net/SerialPort.h"

#include <chrono>

class CSerialLink : public CCommLink
{
public:
    static constexpr int kDefaultBaudRate = 9600;

    CSerialLink();
    ~CSerialLink() override;

    // The low 16 bits: the port number; the high 16 bits: the baud rate.
    int Open(int nArgument) override;
    int Close() override;
    int StartJoin(int nArgument) override;  // dials: "ATD\r"
    int StartHost(int nArgument) override;  // answers: "ATA\r"
    int Hangup() override;
    int Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName) override;
    BOOL DataAvailable() override;
    int Read(BYTE* pDestination, int nHeld) override;
    int Poll() override;

    int SendString(const char* text);
    // The device of a port number, from the profile.
    static CString GetDeviceName(int nPort);

private:
    using Clock = std::chrono::steady_clock;

    BOOL IsLineLost();
    void ReadBlock();
    int FindText(const char* text) const;
    void RemoveThrough(int nEnd);
    void WriteText(const char* text);

    CSerialPort m_port;
    int m_nHandshakeFill = 0;
    BOOL m_bConnectSeen = FALSE;
    int m_nMilliseconds = 0;
    Clock::time_point m_lastClock;
};
