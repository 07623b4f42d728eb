#pragma once
// A byte builder for scenario and mission fixtures. The bytes are assembled
// by hand from the file layout (little-endian words and double words,
// length-prefixed strings), never by the archive code under test.

#include "platform/core/Core.h"

#include <cstring>
#include <vector>

class CScenarioBytes
{
public:
    CScenarioBytes& Word(unsigned value)
    {
        m_bytes.push_back(static_cast<BYTE>(value & 0xFF));
        m_bytes.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
        return *this;
    }
    CScenarioBytes& DWord(unsigned long value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<BYTE>((value >> (8 * i)) & 0xFF));
        return *this;
    }
    CScenarioBytes& Float(float value)
    {
        unsigned int bits = 0;
        std::memcpy(&bits, &value, 4);
        return DWord(bits);
    }
    // A string shorter than 255 bytes: its length byte, then the bytes.
    CScenarioBytes& Str(const char* text)
    {
        size_t n = std::strlen(text);
        m_bytes.push_back(static_cast<BYTE>(n));
        m_bytes.insert(m_bytes.end(), text, text + n);
        return *this;
    }
    // Bytes without a length, such as a class name after its length word.
    CScenarioBytes& Chars(const char* text)
    {
        m_bytes.insert(m_bytes.end(), text, text + std::strlen(text));
        return *this;
    }
    CScenarioBytes& Raw(const std::vector<BYTE>& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    CScenarioBytes& Append(const CScenarioBytes& other)
    {
        m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
        return *this;
    }

    const std::vector<BYTE>& Get() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
};
