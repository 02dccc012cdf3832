#include "XTPSkinThemeMetrics.h"

#include "XTPSkinEngine.h"
#include "XTPSkinThemeIds.h"
#include "XTPSkinThemeSchema.h"

#include <vssym32.h>

#include <cstddef>

namespace {

// Colours of a theme that does not set them, by system colour index.
const COLORREF g_arrDefaultColors[XTP_SKINMETRICS_COLORS] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(180, 180, 180),  // COLOR_BTNALTERNATEFACE (unnamed index 25)
    RGB(0, 0, 255),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // COLOR_MENUHILIGHT
    RGB(192, 192, 192),  // COLOR_MENUBAR
};

// Size of NONCLIENTMETRICSA before the padded border width was added: every
// system since Windows 95 answers it.
const UINT XTP_NONCLIENTMETRICS_SIZE = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);

template <class T>
void DeleteHandle(T& hObject)
{
    // Cleared first: the handle stops counting as one of ours before it goes.
    T hOld = hObject;
    hObject = nullptr;
    if (hOld)
        DeleteObject(hOld);
}

}  // namespace

CXTPSkinThemeMetrics::CXTPSkinThemeMetrics(CXTPSkinEngine* pEngine)
    : m_hCaptionFont(nullptr), m_hMenuFont(nullptr), m_hSmCaptionFont(nullptr), m_pEngine(pEngine),
      m_brushFace(nullptr), m_brushTabControl(nullptr), m_clrEdgeLight(0), m_clrEdgeHighLight(0),
      m_clrEdgeShadow(0), m_clrEdgeDkShadow(0), m_nBorderSize(1), m_cxBorder(0), m_cyBorder(0), m_cxEdge(0),
      m_cyEdge(0), m_cxHScroll(0), m_cyHScroll(0), m_cxVScroll(0), m_cyVScroll(0), m_cyCaption(0),
      m_cySmallCaption(0), m_cyOsCaption(0), m_cyOsSmallCaption(0)
{
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        m_clrTheme[i] = (COLORREF)-1;
        m_brTheme[i] = nullptr;
    }
}

CXTPSkinThemeMetrics::~CXTPSkinThemeMetrics()
{
    DeleteHandle(m_brushFace);
    DeleteHandle(m_brushTabControl);
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++)
        DeleteHandle(m_brTheme[i]);
    DeleteHandle(m_hCaptionFont);
    DeleteHandle(m_hMenuFont);
    DeleteHandle(m_hSmCaptionFont);
}

COLORREF CXTPSkinThemeMetrics::GetDefaultColor(int nIndex)
{
    return nIndex >= 0 && nIndex < XTP_SKINMETRICS_COLORS ? g_arrDefaultColors[nIndex] : (COLORREF)-1;
}

void CXTPSkinThemeMetrics::ReplaceFont(HFONT& hFont, const LOGFONTA& lf)
{
    DeleteHandle(hFont);
    hFont = CreateFontIndirectA(&lf);
}

BOOL CXTPSkinThemeMetrics::IsMetricsBrush(HGDIOBJ hBrush) const
{
    if (!hBrush || GetObjectType(hBrush) != OBJ_BRUSH)
        return FALSE;
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        if (m_brTheme[i] == hBrush)
            return TRUE;
    }
    return FALSE;
}

void CXTPSkinThemeMetrics::RefreshMetrics()
{
    CXTPSkinThemeSchema* pSchema = m_pEngine ? m_pEngine->GetSchema() : nullptr;
    if (!pSchema) {
        // No theme: the system's colours; brushes are the system's too.
        for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
            m_clrTheme[i] = GetSysColor(i);
            DeleteHandle(m_brTheme[i]);
        }
        return;
    }

    int nClassId = GetClassId("SYSMETRICS");

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = XTP_NONCLIENTMETRICS_SIZE;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
        ReplaceFont(m_hCaptionFont, ncm.lfCaptionFont);
        ReplaceFont(m_hSmCaptionFont, ncm.lfSmCaptionFont);
        ReplaceFont(m_hMenuFont, ncm.lfMenuFont);
    }

    m_nBorderSize = 1;
    SystemParametersInfoA(SPI_GETBORDER, 0, &m_nBorderSize, 0);
    m_cxBorder = GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = GetSystemMetrics(SM_CYBORDER);
    m_cxEdge = GetSystemMetrics(SM_CXEDGE);
    m_cyEdge = GetSystemMetrics(SM_CYEDGE);
    m_cxHScroll = GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = GetSystemMetrics(SM_CYHSCROLL);
    m_cxVScroll = GetSystemMetrics(SM_CXVSCROLL);
    m_cyVScroll = GetSystemMetrics(SM_CYVSCROLL);
    m_cyCaption = m_cyOsCaption = GetSystemMetrics(SM_CYCAPTION);
    m_cySmallCaption = m_cyOsSmallCaption = GetSystemMetrics(SM_CYSMCAPTION);

    if (m_pEngine->GetOptions() & SKIN_OPTION_METRICS) {
        int nValue = 0;
        if (pSchema->GetInt(nClassId, 0, 0, TMT_CAPTIONBARHEIGHT, nValue) == S_OK)
            m_cyCaption = nValue;
        m_cyCaption++;
        if (pSchema->GetInt(nClassId, 0, 0, TMT_SMCAPTIONBARHEIGHT, nValue) == S_OK)
            m_cySmallCaption = nValue;
        m_cySmallCaption++;
        if (pSchema->GetInt(nClassId, 0, 0, TMT_SCROLLBARWIDTH, nValue) == S_OK && nValue > 0)
            m_cxVScroll = m_cxHScroll = nValue;
        if (pSchema->GetInt(nClassId, 0, 0, TMT_SCROLLBARHEIGHT, nValue) == S_OK && nValue > 0)
            m_cyVScroll = m_cyHScroll = nValue;
        LOGFONTA lf;
        if (pSchema->GetFont(nClassId, 0, 0, TMT_CAPTIONFONT, lf) == S_OK)
            ReplaceFont(m_hCaptionFont, lf);
        if (pSchema->GetFont(nClassId, 0, 0, TMT_SMALLCAPTIONFONT, lf) == S_OK)
            ReplaceFont(m_hSmCaptionFont, lf);
    }

    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        COLORREF clrOld = m_clrTheme[i];
        m_clrTheme[i] = (COLORREF)-1;
        COLORREF clr = 0;
        if (pSchema->GetColor(nClassId, 0, 0, TMT_FIRSTCOLOR + i, clr) != S_OK) {
            clr = g_arrDefaultColors[i];
            m_pEngine->ApplyColorFilters(&clr);
        }
        m_clrTheme[i] = clr;
        // Brushes handed out stay valid as long as their colour does.
        if (clr != clrOld || !m_brTheme[i]) {
            DeleteHandle(m_brTheme[i]);
            m_brTheme[i] = CreateSolidBrush(clr);
        }
    }

    m_clrEdgeLight = m_clrTheme[COLOR_3DLIGHT];
    m_clrEdgeHighLight = m_clrTheme[COLOR_3DHIGHLIGHT];
    m_clrEdgeShadow = m_clrTheme[COLOR_3DSHADOW];
    m_clrEdgeDkShadow = m_clrTheme[COLOR_3DDKSHADOW];

    DeleteHandle(m_brushFace);
    m_brushFace = CreateSolidBrush(m_clrTheme[COLOR_BTNFACE]);
    DeleteHandle(m_brushTabControl);
}
