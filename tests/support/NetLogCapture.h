#pragma once
// Collects the network log's lines while the object lives, so a test can
// check that a drop was logged (and keep the run's output quiet).

#include "platform/net/NetLog.h"

#include <mutex>
#include <string>
#include <vector>

class CNetLogCapture
{
public:
    CNetLogCapture()
    {
        m_previous = SetNetLogSink([this](const CString& line) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_lines.push_back(line.GetString());
        });
    }
    ~CNetLogCapture() { SetNetLogSink(m_previous); }
    CNetLogCapture(const CNetLogCapture&) = delete;
    CNetLogCapture& operator=(const CNetLogCapture&) = delete;

    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_lines;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_lines.clear();
    }
    bool Has(const std::string& part)
    {
        for (const std::string& line : Lines())
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
    NetLogSink m_previous;
};
