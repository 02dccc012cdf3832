// CGdiObject and CBitmap: owners of a GDI object handle. The object deletes
// the handle it holds when it is destroyed, unless Detach gave it away.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of hObject; FALSE when a handle is already held.
    BOOL Attach(HGDIOBJ hObject)
    {
        if (m_hObject || !hObject)
            return FALSE;
        m_hObject = hObject;
        return TRUE;
    }
    // Gives up ownership and returns the handle.
    HGDIOBJ Detach()
    {
        HGDIOBJ hObject = m_hObject;
        m_hObject = nullptr;
        return hObject;
    }
    // Deletes the handle held, if any.
    BOOL DeleteObject()
    {
        if (!m_hObject)
            return FALSE;
        BOOL bResult = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return bResult;
    }

    HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    int GetBitmap(BITMAP* pBitmap) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitmap); }
};
