#pragma once
// CSideArrayComponent: a per-side component's three arrays (0 the local
// player's own, 1 the opposing, 2 neutral), each present or not, with their
// loading from the files the scenario names and their saved-game part. The
// dug positions and the obstacles keep their arrays this way; TArray is the
// side array's class, complete wherever the component's own code is.

#include "battlefield/SideFilesComponent.h"
#include "platform/core/Archive.h"

#include <memory>
#include <utility>

// Says that a side's array file could not be read; pszWhat names the array
// ("obstacle array").
void ReportUnreadableSideArray(const char* pszWhat, const CString& strName, const CException& e);

template <class TArray>
class CSideArrayComponent : public CSideFilesComponent
{
public:
    static constexpr int kSideCount = 3;

    // The side's array when the side is present, else null.
    TArray* GetSideArray(int nSide) const
    {
        return IsValidSide(nSide) && m_abPresent[nSide] ? m_apArrays[nSide] : nullptr;
    }
    BOOL IsSidePresent(int nSide) const { return GetSideArray(nSide) != nullptr; }

protected:
    explicit CSideArrayComponent(const char* pszFilter) : CSideFilesComponent(pszFilter) {}

    static BOOL IsValidSide(int nSide) { return nSide >= 0 && nSide < kSideCount; }

    // The owner's destructor frees the arrays, where TArray is complete.
    void DeleteSides()
    {
        for (TArray*& pArray : m_apArrays)
        {
            delete pArray;
            pArray = nullptr;
        }
    }
    // Deletes a side's array and clears its flag.
    void ClearSide(int nSide)
    {
        delete m_apArrays[nSide];
        m_apArrays[nSide] = nullptr;
        m_abPresent[nSide] = FALSE;
    }
    // Puts an array in a side's place (deleting the old one) and sets the flag.
    void InstallSide(int nSide, TArray* pArray)
    {
        if (m_apArrays[nSide] != pArray)
            delete m_apArrays[nSide];
        m_apArrays[nSide] = pArray;
        m_abPresent[nSide] = pArray != nullptr;
    }
    // The player's own and the opposing side change places.
    void SwapOwnAndOpposing()
    {
        std::swap(m_apArrays[0], m_apArrays[1]);
        std::swap(m_abPresent[0], m_abPresent[1]);
    }

    // Loads every side the scenario names, opposing first, through
    // loadSide(side, name); stops at the first that fails.
    template <class FLoadSide>
    BOOL LoadNamedSides(FLoadSide loadSide)
    {
        for (int nSide : {1, 0, 2})
        {
            const CString strName = SideName(nSide);
            if (!strName.IsEmpty() && !loadSide(nSide, strName))
                return FALSE;
        }
        return TRUE;
    }
    // Reads one side's array with read(array); only an array read whole
    // takes the side's place, and its own name becomes the side's.
    template <class FRead>
    BOOL LoadSideArray(int nSide, const CString& strName, const char* pszWhat, FRead read)
    {
        if (!IsValidSide(nSide))
            return FALSE;
        auto pArray = std::make_unique<TArray>();
        try
        {
            if (!read(*pArray))
                return FALSE;
        }
        catch (const CException& e)
        {
            ReportUnreadableSideArray(pszWhat, strName, e);
            return FALSE;
        }
        SideName(nSide) = pArray->m_strName;
        InstallSide(nSide, pArray.release());
        return TRUE;
    }

    // The saved game's part: the scenario part, the three present flags and
    // the present arrays, sides 0, 1, 2. A read takes effect only when all
    // of it was read.
    void SerializeSides(CArchive& ar)
    {
        if (ar.IsStoring())
        {
            CSideFilesComponent::Serialize(ar);
            for (int nSide = 0; nSide < kSideCount; ++nSide)
                ar << static_cast<WORD>(IsSidePresent(nSide) ? 1 : 0);
            for (int nSide = 0; nSide < kSideCount; ++nSide)
            {
                if (TArray* pArray = GetSideArray(nSide))
                    pArray->Serialize(ar);
            }
            return;
        }
        CString astrTexts[4];
        for (CString& text : astrTexts)
            ar >> text;
        WORD awPresent[kSideCount] = {};
        for (WORD& w : awPresent)
            ar >> w;
        std::unique_ptr<TArray> apRead[kSideCount];
        for (int nSide = 0; nSide < kSideCount; ++nSide)
        {
            if (awPresent[nSide] == 0)
                continue;
            apRead[nSide] = std::make_unique<TArray>();
            apRead[nSide]->Serialize(ar);
        }
        m_strFilter = astrTexts[0];
        m_strSide2Name = astrTexts[1];
        m_strSide1Name = astrTexts[2];
        m_strSide0Name = astrTexts[3];
        for (int nSide = 0; nSide < kSideCount; ++nSide)
        {
            if (apRead[nSide] != nullptr)
                InstallSide(nSide, apRead[nSide].release());
            else
                ClearSide(nSide);
        }
    }

    BOOL m_abPresent[kSideCount] = {};
    TArray* m_apArrays[kSideCount] = {};
};
