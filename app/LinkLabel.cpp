#include "LinkLabel.h"

#include <shellapi.h>

int CLinkLabel::OpenAddress(const char* pszAddress, int nShowCmd)
{
    HINSTANCE hResult = ShellExecuteA(nullptr, "open", pszAddress, nullptr, nullptr, nShowCmd);
    return static_cast<int>(reinterpret_cast<INT_PTR>(hResult));
}
