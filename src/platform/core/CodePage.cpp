#include "platform/core/CodePage.h"

namespace
{
// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
const char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t u)
{
    if (u < 0x80)
    {
        out += static_cast<char>(u);
    }
    else if (u < 0x800)
    {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
    else if (u < 0x10000)
    {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at `at` and its character;
// 0 when the bytes there begin none (overlong forms, surrogates and values
// past U+10FFFF are not well formed).
size_t DecodeUtf8(std::string_view s, size_t at, char32_t& u)
{
    const unsigned char lead = static_cast<unsigned char>(s[at]);
    size_t length;
    char32_t least;
    if (lead < 0x80)
    {
        u = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        least = 0x80;
        u = lead & 0x1F;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        least = 0x800;
        u = lead & 0x0F;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        least = 0x10000;
        u = lead & 0x07;
    }
    else
    {
        return 0;
    }
    if (s.size() - at < length)
        return 0;
    for (size_t i = 1; i < length; ++i)
    {
        const unsigned char next = static_cast<unsigned char>(s[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        u = (u << 6) | (next & 0x3F);
    }
    if (u < least || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
        return 0;
    return length;
}
}  // namespace

char16_t CodePageToUnicode(unsigned char c)
{
    return (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : static_cast<char16_t>(c);
}

int UnicodeToCodePage(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
    {
        if (kHighControls[i] == u)
            return 0x80 + i;
    }
    return -1;
}

std::string CodePageToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, CodePageToUnicode(static_cast<unsigned char>(c)));
    return out;
}

BOOL Utf8ToCodePage(std::string_view utf8, CString& text, std::string* unencodable)
{
    std::string out;
    out.reserve(utf8.size());
    BOOL bAll = TRUE;
    size_t at = 0;
    while (at < utf8.size())
    {
        char32_t u = 0;
        const size_t length = DecodeUtf8(utf8, at, u);
        if (length == 0)
        {
            out += utf8[at++];
            continue;
        }
        const int c = UnicodeToCodePage(u);
        if (c < 0)
        {
            if (bAll && unencodable)
                *unencodable = std::string(utf8.substr(at, length));
            bAll = FALSE;
            out += '?';
        }
        else
        {
            out += static_cast<char>(c);
        }
        at += length;
    }
    text = CString(std::move(out));
    return bAll;
}
