#include "database/HTMLPage.h"

#include "platform/core/File.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr UINT TEMPLATE_CHUNK = 2000;

// Characters that could make a file name name another directory or that no
// file system takes; each becomes '_'.
bool IsUnsafeInFileName(char c)
{
    return c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
           static_cast<unsigned char>(c) < 0x20;
}
}  // namespace

bool CHTMLPage::LoadTemplate(const CString& fileName)
{
    CFile file;
    if (!file.Open(fileName, CFile::modeRead))
        return false;
    CString text;
    try
    {
        char chunk[TEMPLATE_CHUNK + 1];
        for (;;)
        {
            const UINT read = file.Read(chunk, TEMPLATE_CHUNK);
            if (read == 0)
                break;
            chunk[read] = '\0';
            text += CString(chunk, static_cast<int>(std::strlen(chunk)));
        }
        file.Close();
    }
    catch (const CException&)
    {
        file.Abort();
        return false;
    }
    m_strText += text;
    return true;
}

int CHTMLPage::ReplaceTag(const CString& tag, const CString& text)
{
    if (tag.IsEmpty())
        return 0;
    return m_strText.Replace(tag, text);
}

int CHTMLPage::ReplaceTagInt(const CString& tag, int value)
{
    CString text;
    text.Format("%d", value);
    return ReplaceTag(tag, text);
}

CString CHTMLPage::FormatTwoDecimals(float value)
{
    // The digits with the point put in where it belongs, but nothing before
    // it when the whole part is zero.
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.2f", std::fabs(static_cast<double>(value)));
    CString text = digits;
    if (text.GetLength() > 1 && text[0] == '0' && text[1] == '.')
        text = text.Mid(1);
    if (std::signbit(value) && !std::isnan(value))
        text = "-" + text;
    return text;
}

int CHTMLPage::ReplaceTagFloat(const CString& tag, float value) { return ReplaceTag(tag, FormatTwoDecimals(value)); }

void CHTMLPage::ExtractBody()
{
    if (m_strText.IsEmpty())
        return;
    const int start = m_strText.Find("<BODY>");
    if (start < 0)
        return;
    m_strText = m_strText.Mid(start + 6);
    const int end = m_strText.Find("</BODY>");
    if (end >= 0)
        m_strText = m_strText.Left(end);
}

CString CHTMLPage::MakePageName(const CString& name)
{
    CString safe = name;
    const int length = safe.GetLength();
    for (int i = 0; i < length; ++i)
    {
        if (IsUnsafeInFileName(safe[i]))
            safe.SetAt(i, '_');
    }
    // "a..b" becomes "a_.b", and a final '.' does not meet the extension's:
    // no ".." is left anywhere in the page name.
    for (int i = 0; i + 1 < length; ++i)
    {
        if (safe[i] == '.' && safe[i + 1] == '.')
            safe.SetAt(i, '_');
    }
    if (length > 0 && safe[length - 1] == '.')
        safe.SetAt(length - 1, '_');
    return safe + ".htm";
}

bool CHTMLPage::WritePage(const CString& fileName) const
{
    if (fileName.IsEmpty() || fileName.Find('/') >= 0 || fileName.Find('\\') >= 0 || fileName == "." ||
        fileName == "..")
        return false;
    CString text = m_strText;
    const int end = text.Find("</HTML>");
    if (end >= 0)
        text = text.Left(end + 7);
    CFile file;
    if (!file.Open(fileName, CFile::modeCreate | CFile::modeWrite))
        return false;
    try
    {
        file.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
        file.Close();
    }
    catch (const CException&)
    {
        file.Abort();
        return false;
    }
    return true;
}
