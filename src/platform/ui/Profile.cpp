#include "platform/ui/Profile.h"

#include "platform/ui/CmdTarget.h"
#include "platform/ui/QtBridge.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace
{
CString& StorageDirectory()
{
    static CString dir;
    return dir;
}

QString KeyOf(const char* section, const char* entry)
{
    return ToQString(section ? section : "") + QLatin1Char('/') + ToQString(entry ? entry : "");
}
}  // namespace

struct CProfile::Impl
{
    std::unique_ptr<QSettings> settings;
};

CProfile::CProfile(const CString& registryKey, const CString& appName) : m_p(std::make_unique<Impl>())
{
    const QString key = registryKey.IsEmpty() ? QStringLiteral("Kedravin") : ToQString(registryKey);
    const QString app = appName.IsEmpty() ? QStringLiteral("Kedravin") : ToQString(appName);
    QString base = ToQString(StorageDirectory());
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString dir = base + QLatin1Char('/') + key;
    QDir().mkpath(dir);
    m_p->settings =
        std::make_unique<QSettings>(dir + QLatin1Char('/') + app + QStringLiteral(".ini"), QSettings::IniFormat);
}

CProfile::~CProfile()
{
    if (m_p && m_p->settings)
        m_p->settings->sync();
}

void CProfile::SetStorageDirectory(const CString& directory) { StorageDirectory() = directory; }
CString CProfile::GetStorageDirectory() { return StorageDirectory(); }

CString CProfile::GetString(const char* section, const char* entry, const char* defaultValue) const
{
    const QVariant v = m_p->settings->value(KeyOf(section, entry));
    if (!v.isValid())
        return CString(defaultValue);
    return FromQString(v.toString());
}

BOOL CProfile::WriteString(const char* section, const char* entry, const char* value)
{
    if (!section)
        return FALSE;
    if (!entry)
    {
        m_p->settings->remove(ToQString(section));
    }
    else if (!value)
    {
        m_p->settings->remove(KeyOf(section, entry));
    }
    else
    {
        m_p->settings->setValue(KeyOf(section, entry), ToQString(value));
    }
    m_p->settings->sync();
    return m_p->settings->status() == QSettings::NoError;
}

int CProfile::GetInt(const char* section, const char* entry, int defaultValue) const
{
    const QVariant v = m_p->settings->value(KeyOf(section, entry));
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const int value = v.toString().trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

BOOL CProfile::WriteInt(const char* section, const char* entry, int value)
{
    if (!section || !entry)
        return FALSE;
    m_p->settings->setValue(KeyOf(section, entry), QString::number(value));
    m_p->settings->sync();
    return m_p->settings->status() == QSettings::NoError;
}

void CProfile::Sync() { m_p->settings->sync(); }

CString CProfile::GetFileName() const { return FromQString(m_p->settings->fileName()); }

// ---------------------------------------------------------------------------

namespace
{
const char kRecentSection[] = "Recent File List";
}

CRecentFileList::CRecentFileList(CProfile* profile, UINT firstCommandId, int size)
    : m_pProfile(profile), m_nFirstId(firstCommandId), m_nSize(size < 1 ? 1 : size)
{
}

void CRecentFileList::Add(const char* path)
{
    if (!path || !*path)
        return;
    // The list keeps paths with "/": a Windows-style name opens nothing here.
    CString name(path);
    name.Replace('\\', '/');
    for (auto it = m_files.begin(); it != m_files.end(); ++it)
    {
        if (it->CompareNoCase(name) == 0)
        {
            m_files.erase(it);
            break;
        }
    }
    m_files.insert(m_files.begin(), name);
    if (static_cast<int>(m_files.size()) > m_nSize)
        m_files.resize(static_cast<size_t>(m_nSize));
    WriteList();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_files.erase(m_files.begin() + index);
    WriteList();
}

CString CRecentFileList::operator[](int index) const
{
    if (index < 0 || index >= GetCount())
        return CString();
    return m_files[static_cast<size_t>(index)];
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    if (!m_pProfile)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString entry;
        entry.Format("File%d", i + 1);
        CString value = m_pProfile->GetString(kRecentSection, entry, "");
        if (!value.IsEmpty())
            m_files.push_back(value);
    }
}

void CRecentFileList::WriteList()
{
    if (!m_pProfile)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString entry;
        entry.Format("File%d", i + 1);
        if (i < GetCount())
            m_pProfile->WriteString(kRecentSection, entry, m_files[static_cast<size_t>(i)]);
        else
            m_pProfile->WriteString(kRecentSection, entry, nullptr);
    }
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) const
{
    if (!pCmdUI)
        return;
    const int index = static_cast<int>(pCmdUI->m_nID) - static_cast<int>(m_nFirstId);
    if (index < 0 || index >= GetCount())
    {
        pCmdUI->SetText(index == 0 ? "Recent File" : "");
        pCmdUI->Enable(FALSE);
        return;
    }
    CString text;
    text.Format("&%d %s", index + 1, m_files[static_cast<size_t>(index)].GetString());
    pCmdUI->SetText(text);
    pCmdUI->Enable(TRUE);
}
