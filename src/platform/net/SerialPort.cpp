#include "platform/net/SerialPort.h"

#include <QSerialPort>

struct CSerialPort::Impl
{
    QSerialPort port;
    bool hungUp = false;

    void NoteError()
    {
        const QSerialPort::SerialPortError e = port.error();
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError ||
            e == QSerialPort::DeviceNotFoundError || e == QSerialPort::PermissionError)
        {
            hungUp = true;
        }
    }
};

CSerialPort::CSerialPort() : m_p(std::make_unique<Impl>()) {}

CSerialPort::~CSerialPort() { Close(); }

BOOL CSerialPort::Open(const CString& device, int baudRate, CString* error)
{
    Close();
    m_p->hungUp = false;
    m_p->port.setPortName(QString::fromUtf8(device.GetString()));
    if (!m_p->port.open(QIODevice::ReadWrite))
    {
        if (error)
            *error = CString(m_p->port.errorString().toUtf8().constData());
        return FALSE;
    }
    const bool set = m_p->port.setBaudRate(baudRate) && m_p->port.setDataBits(QSerialPort::Data8) &&
                     m_p->port.setParity(QSerialPort::NoParity) && m_p->port.setStopBits(QSerialPort::OneStop);
    if (!set)
    {
        if (error)
            *error = CString(m_p->port.errorString().toUtf8().constData());
        m_p->port.close();
        return FALSE;
    }
    // A pseudo-terminal has no modem lines and no hardware flow control.
    m_p->port.setFlowControl(QSerialPort::NoFlowControl);
    m_p->port.clearError();
    return TRUE;
}

void CSerialPort::Close()
{
    if (m_p->port.isOpen())
        m_p->port.close();
}

BOOL CSerialPort::IsOpen() const { return m_p->port.isOpen(); }

int CSerialPort::BytesWaiting()
{
    if (!m_p->port.isOpen())
        return 0;
    if (m_p->port.bytesAvailable() == 0)
    {
        m_p->port.waitForReadyRead(0);
        m_p->NoteError();
    }
    return static_cast<int>(m_p->port.bytesAvailable());
}

int CSerialPort::Read(void* destination, int maxBytes, int timeoutMs)
{
    if (!m_p->port.isOpen() || maxBytes <= 0)
        return 0;
    if (m_p->port.bytesAvailable() == 0)
    {
        m_p->port.waitForReadyRead(timeoutMs);
        m_p->NoteError();
    }
    const qint64 n = m_p->port.read(static_cast<char*>(destination), maxBytes);
    if (n < 0)
    {
        m_p->hungUp = true;
        return 0;
    }
    return static_cast<int>(n);
}

int CSerialPort::Write(const void* data, int size, int timeoutMs)
{
    if (!m_p->port.isOpen() || size <= 0)
        return 0;
    const qint64 queued = m_p->port.write(static_cast<const char*>(data), size);
    if (queued <= 0)
    {
        m_p->NoteError();
        return 0;
    }
    while (m_p->port.bytesToWrite() > 0)
    {
        if (!m_p->port.waitForBytesWritten(timeoutMs))
        {
            m_p->NoteError();
            // What the device did not take in time is not sent later.
            const qint64 left = m_p->port.bytesToWrite();
            m_p->port.clear(QSerialPort::Output);
            return static_cast<int>(queued - left);
        }
    }
    return static_cast<int>(queued);
}

void CSerialPort::Purge()
{
    if (m_p->port.isOpen())
        m_p->port.clear(QSerialPort::AllDirections);
}

void CSerialPort::SetDtr(BOOL raised)
{
    if (!m_p->port.isOpen())
        return;
    m_p->port.setDataTerminalReady(raised != FALSE);
    // A pseudo-terminal refuses it; that is no fault of the line.
    m_p->port.clearError();
}

BOOL CSerialPort::IsHungUp() const { return m_p->hungUp; }
