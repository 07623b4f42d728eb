#include "platform/ui/Edit.h"

#include "platform/ui/ControlPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>

namespace
{
CString FromMultiline(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQString(s);
}
}  // namespace

// ---------------------------------------------------------------------------
// Edits

BOOL CEdit::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    QWidget* pw = parent->GetWidget();
    m_dwStyle = style;
    QWidget* w = nullptr;
    if (style & ES_MULTILINE)
    {
        auto* edit = new QPlainTextEdit(pw);
        edit->setReadOnly(style & ES_READONLY);
        edit->setLineWrapMode((style & WS_HSCROLL) || (style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                                               : QPlainTextEdit::WidgetWidth);
        edit->setTabChangesFocus(true);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [edit]
                         {
                             const int limit = edit->property("kdrLimit").toInt();
                             if (limit > 0 && edit->toPlainText().size() > limit)
                             {
                                 const QSignalBlocker block(edit);
                                 QTextCursor cursor = edit->textCursor();
                                 edit->setPlainText(edit->toPlainText().left(limit));
                                 cursor.setPosition(limit);
                                 edit->setTextCursor(cursor);
                             }
                             if (!edit->property("kdrSilent").toBool())
                                 NotifyParent(edit, EN_CHANGE);
                         });
        w = edit;
    }
    else
    {
        auto* edit = new QLineEdit(pw);
        edit->setReadOnly(style & ES_READONLY);
        if (style & ES_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        if (style & ES_NUMBER)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        if (style & ES_CENTER)
            edit->setAlignment(Qt::AlignHCenter);
        else if (style & ES_RIGHT)
            edit->setAlignment(Qt::AlignRight);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit]
                         {
                             if (!edit->property("kdrSilent").toBool())
                                 NotifyParent(edit, EN_CHANGE);
                         });
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] { NotifyParent(edit, EN_KILLFOCUS); });
        w = edit;
    }
    w->setGeometry(ToQRect(rect));
    AttachControl(w, parent, id);
    ShowControl(style);
    return TRUE;
}

void CEdit::SetWindowText(const char* text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        edit->setText(ToMultiline(text));
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        edit2->setPlainText(ToMultiline(text));
    }
}

CString CEdit::GetWindowText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return FromQString(edit->text());
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return FromMultiline(edit2->toPlainText());
    return CString();
}

std::string CEdit::GetTextUtf8() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return edit->text().toStdString();
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return edit2->toPlainText().toStdString();
    return std::string();
}

void CEdit::LimitText(int maxChars)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
    else if (m_pWidget)
        m_pWidget->setProperty("kdrLimit", maxChars > 0 ? maxChars : 0);
}

int CEdit::GetLimitText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return edit->maxLength();
    if (m_pWidget)
    {
        const int limit = m_pWidget->property("kdrLimit").toInt();
        return limit > 0 ? limit : 32767;
    }
    return 0;
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->setReadOnly(readOnly != FALSE);
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        edit2->setReadOnly(readOnly != FALSE);
    else
        return FALSE;
    if (readOnly)
        m_dwStyle |= ES_READONLY;
    else
        m_dwStyle &= ~ES_READONLY;
    return TRUE;
}

BOOL CEdit::IsReadOnly() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        return edit->isReadOnly();
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return edit2->isReadOnly();
    return FALSE;
}

void CEdit::SetSel(int start, int end, BOOL)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        const int len = static_cast<int>(edit->text().size());
        if (start == -1)
        {
            edit->deselect();
            return;
        }
        if (end < 0 || end > len)
            end = len;
        start = std::clamp(start, 0, len);
        edit->setSelection(start, end - start);
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        QTextCursor c = edit2->textCursor();
        const int len = static_cast<int>(edit2->toPlainText().size());
        if (end < 0 || end > len)
            end = len;
        c.setPosition(std::clamp(start, 0, len));
        c.setPosition(end, QTextCursor::KeepAnchor);
        edit2->setTextCursor(c);
    }
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        if (edit->hasSelectedText())
        {
            start = edit->selectionStart();
            end = start + static_cast<int>(edit->selectedText().size());
        }
        else
        {
            start = end = edit->cursorPosition();
        }
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        const QTextCursor c = edit2->textCursor();
        start = c.selectionStart();
        end = c.selectionEnd();
    }
}

void CEdit::ReplaceSel(const char* text, BOOL)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
        edit->insert(ToMultiline(text));
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        edit2->insertPlainText(ToMultiline(text));
}

int CEdit::GetLineCount() const
{
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
        return edit2->document()->blockCount();
    return 1;
}

void CEdit::LineScroll(int lines, int)
{
    if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        QScrollBar* bar = edit2->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

void CEdit::TypeText(const char* text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pWidget))
    {
        // Typed characters pass the length limit and the validator as keys would.
        for (QChar ch : ToMultiline(text))
        {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(edit, &press);
        }
    }
    else if (auto* edit2 = qobject_cast<QPlainTextEdit*>(m_pWidget))
    {
        edit2->insertPlainText(ToMultiline(text));
    }
}

void CEdit::TakeOverFrom(CWnd& old)
{
    if (auto* o = dynamic_cast<CEdit*>(&old))
        m_dwStyle = o->m_dwStyle;
}
