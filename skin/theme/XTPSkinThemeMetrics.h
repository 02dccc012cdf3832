// CXTPSkinThemeMetrics: the system colours, brushes, caption and scroll bar
// sizes and caption fonts as the loaded theme has them (its "SysMetrics"
// values, else defaults), rebuilt by the engine after every theme load and
// option change. Skinned windows and the replaced system functions read it.
#pragma once

#include <windows.h>

class CXTPSkinEngine;

// Number of Windows system colours the theme can set (COLOR_SCROLLBAR to
// COLOR_MENUBAR).
constexpr int XTP_SKINMETRICS_COLORS = 31;

class CXTPSkinThemeMetrics {
public:
    explicit CXTPSkinThemeMetrics(CXTPSkinEngine* pEngine);
    virtual ~CXTPSkinThemeMetrics();
    CXTPSkinThemeMetrics(const CXTPSkinThemeMetrics&) = delete;
    CXTPSkinThemeMetrics& operator=(const CXTPSkinThemeMetrics&) = delete;

    // Without a theme: the system's colours and no brushes. With one: the
    // theme's colours (brushes rebuilt only where a colour changed), and,
    // while the engine's SKIN_OPTION_METRICS is set, its sizes and fonts.
    virtual void RefreshMetrics();

    // Whether hBrush is one of the colour brushes (which must not be deleted
    // by their users).
    BOOL IsMetricsBrush(HGDIOBJ hBrush) const;

    // The colour a theme without a value for the system colour nIndex gets.
    static COLORREF GetDefaultColor(int nIndex);

    HFONT m_hCaptionFont;
    HFONT m_hMenuFont;
    HFONT m_hSmCaptionFont;
    CXTPSkinEngine* m_pEngine;
    HBRUSH m_brushFace;
    // Built by the frame skin on first use for property pages; dropped by
    // every refresh.
    HBRUSH m_brushTabControl;
    COLORREF m_clrEdgeLight;
    COLORREF m_clrEdgeHighLight;
    COLORREF m_clrEdgeShadow;
    COLORREF m_clrEdgeDkShadow;
    COLORREF m_clrTheme[XTP_SKINMETRICS_COLORS];
    HBRUSH m_brTheme[XTP_SKINMETRICS_COLORS];
    int m_nBorderSize;
    int m_cxBorder, m_cyBorder;
    int m_cxEdge, m_cyEdge;
    int m_cxHScroll, m_cyHScroll;
    int m_cxVScroll, m_cyVScroll;
    int m_cyCaption;
    int m_cySmallCaption;
    int m_cyOsCaption;
    int m_cyOsSmallCaption;

protected:
    static void ReplaceFont(HFONT& hFont, const LOGFONTA& lf);
};
