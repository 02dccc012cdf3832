#include "CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

ULONG CCmdTarget::InternalAddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_dwRef));
}

ULONG CCmdTarget::InternalRelease()
{
    LONG nRef = InterlockedDecrement(&m_dwRef);
    if (nRef == 0)
        OnFinalRelease();
    return static_cast<ULONG>(nRef);
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

BOOL CCmdTarget::OnCmdMsg(UINT, int)
{
    return FALSE;
}
