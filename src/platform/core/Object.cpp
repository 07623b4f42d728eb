#include "platform/core/Object.h"

#include "platform/core/Archive.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace
{
struct Registry
{
    std::mutex mutex;
    std::map<std::string, CRuntimeClass*> byName;
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}
}  // namespace

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    if (!base)
        return FALSE;
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
    {
        if (p == base)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* className)
{
    if (!className)
        return nullptr;
    Registry& r = GetRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byName.find(className);
    return it == r.byName.end() ? nullptr : it->second;
}

CObject* CRuntimeClass::CreateObject(const char* className)
{
    CRuntimeClass* pClass = FromName(className);
    return pClass ? pClass->CreateObject() : nullptr;
}

void CRuntimeClass::Register(CRuntimeClass* pClass)
{
    if (!pClass || !pClass->m_lpszClassName)
        return;
    Registry& r = GetRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byName[pClass->m_lpszClassName] = pClass;
}

CRuntimeClass* CObject::GetThisClass()
{
    static CRuntimeClass record{"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
    return &record;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return CObject::GetThisClass(); }

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

BOOL CException::GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (!buffer || maxError == 0)
        return FALSE;
    CString text = GetErrorText();
    size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), maxError - 1);
    std::memcpy(buffer, text.GetString(), n);
    buffer[n] = '\0';
    return TRUE;
}
