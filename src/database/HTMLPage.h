#pragma once
// CHTMLPage: the one page writer of the equipment and results pages. It
// loads a template page, replaces the placeholders written between two
// asterisks ("*speed*") with text, integers or numbers with two decimals,
// can cut a template down to its body for embedding, and writes the page.
//
// Callers make the data directory current before loading a template and the
// saved-game directory current before writing, and the data directory
// current again afterwards.
//
// Page names come from record names that the data files supply. MakePageName
// is the one place a record name becomes a file name, for the page itself,
// for every link to it and for its deletion: it leaves no path separator and
// no "..", and WritePage writes only into the current directory, so no name
// can reach outside the saved-game directory.

#include "platform/core/CString.h"

class CHTMLPage
{
public:
    CHTMLPage() = default;

    // Appends the whole file (relative to the current directory) to the
    // text; FALSE, text unchanged, when it does not open. A NUL byte ends
    // the text of the 2000-byte chunk it lies in.
    bool LoadTemplate(const CString& fileName);
    // Replaces every occurrence of the tag (exact, case-sensitive); answers
    // the number of replacements.
    int ReplaceTag(const CString& tag, const CString& text);
    int ReplaceTagInt(const CString& tag, int value);
    // Two decimals, no leading zero before the point: 0.5 gives ".50",
    // -1.25 "-1.25", 2000 "2000.00".
    int ReplaceTagFloat(const CString& tag, float value);
    // Keeps only what lies between the first "<BODY>" and the first
    // "</BODY>" after it (capitals only); a text without "<BODY>" stays.
    void ExtractBody();
    // The record name made safe as a file name, then ".htm".
    static CString MakePageName(const CString& name);
    // Writes the text up to and including the first "</HTML>" into the
    // named file of the current directory; FALSE when it cannot be created
    // or the name holds a directory part.
    bool WritePage(const CString& fileName) const;

    // The two-decimal form ReplaceTagFloat puts in.
    static CString FormatTwoDecimals(float value);

    const CString& GetText() const { return m_strText; }
    void SetText(const CString& text) { m_strText = text; }

private:
    CString m_strText;
};
