// CObject, CRuntimeClass and CCmdTarget: objects that know their class and
// can be created by it, and the reference-counted base of windows and the
// application object.
#pragma once

#include <windows.h>

class CObject;

// Describes a class at run time: its name, its base and, for creatable
// classes, how to make a new object of it with its default constructor.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object, or null when the class cannot be created by class.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                  \
public:                                                              \
    static const CRuntimeClass class##class_name;                    \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                \
    DECLARE_DYNAMIC(class_name)                                      \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_name, pfnNew)       \
    const CRuntimeClass class_name::class##class_name = {            \
        #class_name, sizeof(class_name), pfnNew,                     \
        RUNTIME_CLASS(base_name)};                                   \
    const CRuntimeClass* class_name::GetRuntimeClass() const         \
    {                                                                \
        return RUNTIME_CLASS(class_name);                            \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name)                     \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                   \
    CObject* class_name::CreateObject() { return new class_name; }   \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, class_name::CreateObject)

class CObject {
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
};

// Command routing and the object's reference count. The count starts at 1;
// the release that takes it to 0 calls OnFinalRelease, which deletes the
// object.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    ULONG InternalAddRef();
    ULONG InternalRelease();
    virtual void OnFinalRelease();

    // Handles command nID (a WM_COMMAND notification code nCode); FALSE when
    // this target has no handler for it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    volatile LONG m_dwRef = 1;
};
