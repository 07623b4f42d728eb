#pragma once
// The object model of every persistent class: a run-time class record per
// class (name, schema, factory, base) and a process-wide registry that finds
// a record by class name, so an archive can create the object it reads.
//
// In a class declaration:   DECLARE_SERIAL(CUnit)
// In its .cpp file:         IMPLEMENT_SERIAL(CUnit, CObject, 1)
// DECLARE_DYNAMIC/IMPLEMENT_DYNAMIC give a class a run-time record without a
// factory (it can be tested with IsKindOf but not read from an archive);
// DECLARE_DYNCREATE/IMPLEMENT_DYNCREATE add the factory without registering
// the class for archives.
//
// A class that is only ever created by name (from an archive) must still be
// linked into the program: its .cpp file has to be part of the link (the
// static library is linked whole, or something refers to the class).

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <exception>
#include <string>
#include <vector>

class CArchive;
class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                   // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();  // null: cannot be created by name
    CRuntimeClass* m_pBaseClass;      // null only for CObject

    CObject* CreateObject() const;  // null when there is no factory
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;

    // The registry of classes that can be created by name (those declared
    // with IMPLEMENT_SERIAL or IMPLEMENT_DYNCREATE).
    static CRuntimeClass* FromName(const char* className);
    static CObject* CreateObject(const char* className);  // null when unknown
    static void Register(CRuntimeClass* pClass);
};

// Registers a class record during static initialisation.
struct CRuntimeClassRegistrar
{
    explicit CRuntimeClassRegistrar(CRuntimeClass* pClass) { CRuntimeClass::Register(pClass); }
};

class CObject
{
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    // Reads or writes the object's own fields; the base writes nothing.
    virtual void Serialize(CArchive& ar);

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static CRuntimeClass* GetThisClass();

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static CRuntimeClass* GetThisClass();                                                                              \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define KDR_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, factory)                                             \
    CRuntimeClass* class_name::GetThisClass()                                                                          \
    {                                                                                                                  \
        static CRuntimeClass record{#class_name, static_cast<int>(sizeof(class_name)), static_cast<UINT>(schema),      \
                                    factory, base_name::GetThisClass()};                                               \
        return &record;                                                                                                \
    }                                                                                                                  \
    CRuntimeClass* class_name::GetRuntimeClass() const { return class_name::GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_name) KDR_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                                                                     \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    KDR_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_name, schema)                                                                \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    KDR_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, &class_name::CreateObject)                               \
    static const CRuntimeClassRegistrar kdrRegister_##class_name(class_name::GetThisClass());

// Base of the program's exceptions. They are thrown by value and caught by
// reference; GetErrorMessage/GetErrorText give the text shown to the user.
class CException : public std::exception
{
public:
    CException() = default;
    explicit CException(const CString& text) : m_text(text) {}
    ~CException() override = default;

    // Copies at most maxError - 1 characters and a terminator into buffer.
    virtual BOOL GetErrorMessage(LPTSTR buffer, UINT maxError, UINT* helpContext = nullptr) const;
    virtual CString GetErrorText() const { return m_text; }
    const char* what() const noexcept override { return m_text.GetString(); }

protected:
    CString m_text;
};
