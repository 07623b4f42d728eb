#include "battlefield/AITerrainArray.h"

#include "battlefield/AITerrainInternal.h"
#include "database/DatabaseSupport.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"

#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CAITerrainArray, CObArray, 1)

namespace
{
// The one reading of a help map in progress on this thread: how deeply the
// array being read is nested (0 for the help map itself, n for the items of
// a region nested n - 1 deep) and every item read so far, in the order each
// began to read itself.
struct HelpMapReading
{
    int depth = 0;
    std::vector<const CAITerrain*> items;
};
thread_local HelpMapReading* t_pReading = nullptr;

// Enters one array level of a reading, starting the reading at the top.
class ReadingLevel
{
public:
    ReadingLevel()
    {
        if (t_pReading == nullptr)
        {
            t_pReading = &m_own;
            m_bOwner = true;
            return;
        }
        ++t_pReading->depth;
    }
    ~ReadingLevel()
    {
        if (m_bOwner)
            t_pReading = nullptr;
        else
            --t_pReading->depth;
    }
    ReadingLevel(const ReadingLevel&) = delete;
    ReadingLevel& operator=(const ReadingLevel&) = delete;

private:
    HelpMapReading m_own;
    bool m_bOwner = false;
};

}  // namespace

void NoteHelpMapItemLoading(const CAITerrain* pItem)
{
    if (t_pReading != nullptr)
        t_pReading->items.push_back(pItem);
}

void ThrowBadFile(const CArchive& ar, const CString& reason)
{
    ar.ThrowArchiveException(CArchiveException::badIndex, reason);
}

CAITerrainArray::CAITerrainArray()
{
    m_astrKindNames.Add("Region");
    m_astrKindNames.Add("Route");
    m_astrKindNames.Add("SBF");
}

CAITerrainArray::CAITerrainArray(const CAITerrainArray& other) : CAITerrainArray()
{
    for (const CObject* pObject : other)
    {
        const auto* pItem = static_cast<const CAITerrain*>(pObject);
        Add(pItem != nullptr ? pItem->Clone() : nullptr);
    }
}

CAITerrainArray::~CAITerrainArray()
{
    if (m_bBorrowsItems)
        RemoveAllNoDelete();
}

void CAITerrainArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (const CObject* pItem : *this)
            ar << pItem;
        ar << m_strFileName;
        return;
    }

    ReadingLevel level;
    // Every item takes at least its two-byte tag.
    const DWORD count = ar.ReadCount(2);
    // Items nested deeper than any map maker draws are a corrupt or hostile
    // file, and would otherwise run the reading down the stack.
    if (count > 0 && t_pReading->depth > kMaxNesting)
    {
        CString reason;
        reason.Format("its regions nest more than %d deep", kMaxNesting);
        ThrowBadFile(ar, reason);
    }
    std::vector<std::unique_ptr<CAITerrain>> items;
    items.reserve(count);
    for (DWORD i = 0; i < count; ++i)
    {
        const size_t before = t_pReading->items.size();
        CAITerrain* pItem = nullptr;
        ar >> pItem;
        // A new item read itself first of all during this call; anything
        // else is an object stored twice, which would end with two owners.
        if (pItem != nullptr && (t_pReading->items.size() <= before || t_pReading->items[before] != pItem))
            ThrowBadFile(ar, "it holds one object in two places");
        items.emplace_back(pItem);
    }
    CString strName;
    ar >> strName;

    if (m_bBorrowsItems)
        RemoveAllNoDelete();
    else
        RemoveAll();
    m_bBorrowsItems = FALSE;
    for (std::unique_ptr<CAITerrain>& pItem : items)
        Add(pItem.release());
    m_strFileName = strName;
}

BOOL CAITerrainArray::LoadFromFile(CString name, const CString& strDataDir)
{
    // Cancel always ends the load: asking again for a name that already
    // failed would leave the user no way out but a file that opens.
    if (!ReadFileAskingForAnother(*this, name, strDataDir, "aim", "*.aim", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT))
        return FALSE;
    m_strFileName = name;
    return TRUE;
}
