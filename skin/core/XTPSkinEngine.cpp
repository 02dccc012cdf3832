#include "XTPSkinEngine.h"

#include <new>

CXTPSkinEngine* CXTPSkinEngine::GetInstance()
{
    static CXTPSkinEngine* s_pInstance = nullptr;
    if (!s_pInstance)
        s_pInstance = new (std::nothrow) CXTPSkinEngine();
    return s_pInstance;
}

BOOL CXTPSkinEngine::LoadTheme(const char*, const char*)
{
    // The theme reader and the window skins are not part of the program yet:
    // windows keep the system's drawing.
    m_bLoaded = FALSE;
    return FALSE;
}
