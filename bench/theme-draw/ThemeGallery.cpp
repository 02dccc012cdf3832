// theme_gallery: draws every class, part and state of a theme package into
// one labelled contact sheet (a PNG file), for looking at a theme the way
// the skin engine draws it: each part at its own size where it has one,
// stretched or tiled to a larger size where it has sizing margins, over a
// checkerboard that shows what is left transparent, plus the theme's system
// colours. Parts whose bitmap cannot be drawn are crossed out in red.
//
//   theme_gallery <package> <INI name, or - for the default> <output.png>
#include "Dib32.h"
#include "XTPSkinEngine.h"
#include "XTPSkinThemeClass.h"
#include "XTPSkinThemeIds.h"
#include "XTPSkinThemeMetrics.h"
#include "XTPSkinThemeSchema.h"

#include <png.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int LABEL_WIDTH = 230;
const int MAX_SHEET_WIDTH = 1800;
const int CELL_GAP = 10;
const int STATE_LABEL_HEIGHT = 14;

struct CCell {
    int nState;
    std::string strLabel;
};

struct CRow {
    int nClassId;
    int nPartId;
    std::string strTitle;
    std::string strDetail;
    SIZE size;  // drawing size of each cell
    std::vector<CCell> cells;
    int nTop = 0, nHeight = 0;
};

// Whether the theme gives the part something to draw.
bool HasBackground(CXTPSkinThemeClass* pClass, int nPartId)
{
    int nBgType = pClass->GetThemeEnumValue(nPartId, 0, TMT_BGTYPE, BT_IMAGEFILE);
    if (nBgType == BT_BORDERFILL)
        return pClass->GetThemeColor(nPartId, 0, TMT_FILLCOLOR) != (COLORREF)-1 ||
               pClass->GetThemeColor(nPartId, 0, TMT_BORDERCOLOR) != (COLORREF)-1;
    if (nBgType != BT_IMAGEFILE)
        return false;
    for (int nPropId : {TMT_IMAGEFILE, TMT_IMAGEFILE1, TMT_GLYPHIMAGEFILE}) {
        if (!pClass->GetThemeString(nPartId, 0, nPropId, "").IsEmpty())
            return true;
    }
    return false;
}

// Parts that carry a caption in controls: their cells get a text sample.
bool CarriesText(int nClassId, int nPartId)
{
    switch (nClassId) {
    case XTP_SKINCLASS_BUTTON:
        return nPartId == BP_PUSHBUTTON || nPartId == BP_GROUPBOX;
    case XTP_SKINCLASS_WINDOW:
        return nPartId >= WP_CAPTION && nPartId <= WP_SMALLMAXCAPTION;
    case XTP_SKINCLASS_TAB:
        return nPartId >= TABP_TABITEM && nPartId <= TABP_TOPTABITEMBOTHEDGE;
    case XTP_SKINCLASS_HEADER:
        return nPartId >= HP_HEADERITEM && nPartId <= HP_HEADERITEMRIGHT;
    case XTP_SKINCLASS_TOOLTIP:
        return nPartId >= TTP_STANDARD && nPartId <= TTP_BALLOONTITLE;
    }
    return false;
}

const char* SizingName(int nSizingType)
{
    switch (nSizingType) {
    case ST_TRUESIZE:
        return "true size";
    case ST_STRETCH:
        return "stretch";
    case ST_TILE:
        return "tile";
    }
    return "?";
}

CRow MakeRow(CXTPSkinThemeClass* pClass, int nClassId, int nPartId)
{
    CRow row;
    row.nClassId = nClassId;
    row.nPartId = nPartId;
    std::string strPart = nPartId ? GetThemePartName(nClassId, nPartId) : std::string();
    row.strTitle = std::string(GetThemeClassName(nClassId)) + (nPartId ? "." + strPart : std::string());

    SIZE frame = {0, 0};
    bool bImage = pClass->GetThemePartSize(nPartId, 0, nullptr, TS_TRUE, &frame) != FALSE;
    int nSizing = pClass->GetThemeEnumValue(nPartId, 0, TMT_SIZINGTYPE, ST_STRETCH);
    RECT rcMargins = pClass->GetThemeRect(nPartId, 0, TMT_SIZINGMARGINS);
    char szDetail[160];
    if (bImage) {
        snprintf(szDetail, sizeof(szDetail), "%ldx%ld %s, margins %ld %ld %ld %ld", frame.cx, frame.cy,
                 SizingName(nSizing), rcMargins.left, rcMargins.right, rcMargins.top, rcMargins.bottom);
    } else {
        snprintf(szDetail, sizeof(szDetail), "%s",
                 pClass->GetThemeEnumValue(nPartId, 0, TMT_BGTYPE, BT_IMAGEFILE) == BT_BORDERFILL
                     ? "border fill"
                     : "bitmap missing");
    }
    row.strDetail = szDetail;

    // True-size parts and parts without sizing margins at their size; others
    // larger than their frame, so that the sizing margins show, within limits.
    if (!bImage)
        row.size = SIZE{60, 24};
    else if (nSizing == ST_TRUESIZE ||
             (!rcMargins.left && !rcMargins.top && !rcMargins.right && !rcMargins.bottom && frame.cx <= 260 &&
              frame.cy <= 90))
        row.size = SIZE{std::max(8L, frame.cx), std::max(8L, frame.cy)};
    else
        row.size = SIZE{std::min(260L, std::max(frame.cx + 40, 64L)), std::min(90L, std::max(frame.cy + 6, 22L))};

    std::string strList = nPartId ? strPart : std::string(GetThemeClassName(nClassId));
    int nStates = GetThemeStateCount(strList.c_str());
    if (nStates == 0)
        row.cells.push_back(CCell{0, "(no states)"});
    for (int nState = 1; nState <= nStates; nState++)
        row.cells.push_back(CCell{nState, GetThemeStateName(strList.c_str(), nState)});
    return row;
}

// Cells are at least wide enough for a state name.
int ColumnWidth(const CRow& row)
{
    return std::max(static_cast<int>(row.size.cx) + CELL_GAP, 96);
}

void FillRect32(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF clr)
{
    RECT rc = {nLeft, nTop, nRight, nBottom};
    COLORREF clrOld = SetBkColor(hDC, clr);
    ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    SetBkColor(hDC, clrOld);
}

void Checkerboard(HDC hDC, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; y += 6)
        for (int x = rc.left; x < rc.right; x += 6)
            FillRect32(hDC, x, y, std::min<int>(x + 6, rc.right), std::min<int>(y + 6, rc.bottom),
                       ((x - rc.left) / 6 + (y - rc.top) / 6) % 2 ? RGB(204, 204, 204) : RGB(255, 255, 255));
}

void Text(HDC hDC, int x, int y, const std::string& str, COLORREF clr)
{
    SetTextColor(hDC, clr);
    TextOutA(hDC, x, y, str.c_str(), static_cast<int>(str.size()));
}

bool WritePng(const char* pszPath, const BYTE* pBits, int nWidth, int nHeight)
{
    FILE* pFile = fopen(pszPath, "wb");
    if (!pFile)
        return false;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    std::vector<BYTE> row(static_cast<size_t>(nWidth) * 3);
    bool bOk = false;
    if (pInfo && !setjmp(png_jmpbuf(pPng))) {
        png_init_io(pPng, pFile);
        png_set_IHDR(pPng, pInfo, nWidth, nHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(pPng, pInfo);
        for (int y = 0; y < nHeight; y++) {
            const BYTE* pSrc = pBits + static_cast<size_t>(y) * nWidth * 4;
            for (int x = 0; x < nWidth; x++) {
                row[x * 3] = pSrc[x * 4 + 2];
                row[x * 3 + 1] = pSrc[x * 4 + 1];
                row[x * 3 + 2] = pSrc[x * 4];
            }
            png_write_row(pPng, row.data());
        }
        png_write_end(pPng, pInfo);
        bOk = true;
    }
    png_destroy_write_struct(&pPng, pInfo ? &pInfo : nullptr);
    fclose(pFile);
    return bOk;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: theme_gallery <package> <INI name, or - for the default> <output.png>\n");
        return 2;
    }
    const char* pszIni = strcmp(argv[2], "-") == 0 ? nullptr : argv[2];
    CXTPSkinEngine* pEngine = CXTPSkinEngine::GetInstance();
    if (!pEngine->LoadTheme(argv[1], pszIni)) {
        fprintf(stderr, "theme_gallery: cannot load %s (%s)\n", argv[1], pszIni ? pszIni : "default variant");
        return 1;
    }

    std::vector<CRow> rows;
    for (int nClassId = 1; nClassId <= XTP_SKINCLASS_LAST; nClassId++) {
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass(GetThemeClassName(nClassId));
        int nParts = GetThemePartCount(nClassId);
        for (int nPartId = 0; nPartId <= nParts; nPartId++) {
            // The class's own values serve all its parts; part 0 is shown
            // only for classes without parts.
            if (nPartId == 0 && nParts > 0)
                continue;
            if (HasBackground(pClass, nPartId))
                rows.push_back(MakeRow(pClass, nClassId, nPartId));
        }
    }

    // Lay the rows out, wrapping long ones.
    const int nHeaderHeight = 40, nColorsHeight = 70;
    int nY = nHeaderHeight + nColorsHeight, nSheetWidth = 900;
    for (CRow& row : rows) {
        int nPerLine = std::max(1, (MAX_SHEET_WIDTH - LABEL_WIDTH) / ColumnWidth(row));
        int nLines = (static_cast<int>(row.cells.size()) + nPerLine - 1) / nPerLine;
        int nCols = std::min(nPerLine, static_cast<int>(row.cells.size()));
        row.nTop = nY;
        row.nHeight = std::max(34, nLines * (static_cast<int>(row.size.cy) + STATE_LABEL_HEIGHT + 6)) + 8;
        nY += row.nHeight;
        nSheetWidth = std::max(nSheetWidth, LABEL_WIDTH + nCols * ColumnWidth(row));
    }
    int nSheetHeight = nY + 10;

    tavtest::CDib32 sheet(nSheetWidth, nSheetHeight);
    if (!sheet.IsValid()) {
        fprintf(stderr, "theme_gallery: no memory for a %dx%d sheet\n", nSheetWidth, nSheetHeight);
        return 1;
    }
    HDC hDC = sheet.GetDC();
    HFONT hFont = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    HFONT hBold = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ hOldFont = SelectObject(hDC, hFont);
    SetBkMode(hDC, TRANSPARENT);
    FillRect32(hDC, 0, 0, nSheetWidth, nSheetHeight, RGB(240, 240, 240));

    CXTPSkinThemeSchema* pSchema = pEngine->GetSchema();
    char szHeader[600];
    snprintf(szHeader, sizeof(szHeader), "%s  [%s]  schema %s, %d values, %d parts with a background",
             argv[1], pszIni ? pszIni : "default variant", pSchema->GetSchemaName().GetString(),
             pSchema->GetValueCount(), static_cast<int>(rows.size()));
    SelectObject(hDC, hBold);
    Text(hDC, 8, 6, szHeader, RGB(0, 0, 0));
    SelectObject(hDC, hFont);
    Text(hDC, 8, 22,
         "Each state of each part, drawn by the skin engine over a checkerboard (transparent pixels show it). "
         "Red cross: the part's bitmap cannot be drawn.",
         RGB(80, 80, 80));

    // The theme's system colours.
    CXTPSkinThemeMetrics* pMetrics = pEngine->GetMetrics();
    Text(hDC, 8, nHeaderHeight, "System colours 0-30 (theme or default):", RGB(0, 0, 0));
    for (int i = 0; i < XTP_SKINMETRICS_COLORS; i++) {
        int x = 8 + i * 28, y = nHeaderHeight + 16;
        FillRect32(hDC, x, y, x + 24, y + 24, RGB(0, 0, 0));
        FillRect32(hDC, x + 1, y + 1, x + 23, y + 23, pMetrics->m_clrTheme[i]);
        Text(hDC, x + 4, y + 26, std::to_string(i), RGB(80, 80, 80));
    }

    int nFailures = 0;
    for (const CRow& row : rows) {
        CXTPSkinThemeClass* pClass = pEngine->GetThemeClass(GetThemeClassName(row.nClassId));
        FillRect32(hDC, 0, row.nTop, nSheetWidth, row.nTop + 1, RGB(200, 200, 200));
        SelectObject(hDC, hBold);
        Text(hDC, 8, row.nTop + 4, row.strTitle, RGB(0, 0, 0));
        SelectObject(hDC, hFont);
        Text(hDC, 8, row.nTop + 18, row.strDetail, RGB(90, 90, 90));
        int nPerLine = std::max(1, (MAX_SHEET_WIDTH - LABEL_WIDTH) / ColumnWidth(row));
        for (size_t i = 0; i < row.cells.size(); i++) {
            int nCol = static_cast<int>(i) % nPerLine, nLine = static_cast<int>(i) / nPerLine;
            int x = LABEL_WIDTH + nCol * ColumnWidth(row);
            int y = row.nTop + 5 + nLine * (static_cast<int>(row.size.cy) + STATE_LABEL_HEIGHT + 6);
            RECT rc = {x, y, x + row.size.cx, y + row.size.cy};
            Checkerboard(hDC, rc);
            int nState = row.cells[i].nState;
            if (!pClass->DrawThemeBackground(hDC, row.nPartId, nState, &rc)) {
                nFailures++;
                HPEN hPen = CreatePen(PS_SOLID, 2, RGB(230, 0, 0));
                HGDIOBJ hOldPen = SelectObject(hDC, hPen);
                MoveToEx(hDC, rc.left, rc.top, nullptr);
                LineTo(hDC, rc.right, rc.bottom);
                MoveToEx(hDC, rc.right, rc.top, nullptr);
                LineTo(hDC, rc.left, rc.bottom);
                SelectObject(hDC, hOldPen);
                DeleteObject(hPen);
            } else if (row.size.cx >= 56 && row.size.cy >= 14 && CarriesText(row.nClassId, row.nPartId)) {
                // Text in the part's colour, as controls draw their captions.
                SetTextColor(hDC, RGB(0, 0, 0));
                pClass->DrawThemeText(hDC, row.nPartId, nState, "Tavmio", DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                                      &rc);
            }
            std::string strLabel = row.cells[i].strLabel;
            int nMaxChars = std::max(4, ColumnWidth(row) / 7);
            if (static_cast<int>(strLabel.size()) > nMaxChars)
                strLabel = strLabel.substr(0, nMaxChars);
            Text(hDC, x, rc.bottom + 1, strLabel, RGB(60, 60, 60));
        }
    }
    GdiFlush();

    bool bWritten = WritePng(argv[3], reinterpret_cast<const BYTE*>(sheet.Bits()), nSheetWidth, nSheetHeight);
    SelectObject(hDC, hOldFont);
    DeleteObject(hFont);
    DeleteObject(hBold);
    if (!bWritten) {
        fprintf(stderr, "theme_gallery: cannot write %s\n", argv[3]);
        return 1;
    }
    printf("theme_gallery: %d parts, %d cells not drawn, %dx%d sheet written to %s\n", static_cast<int>(rows.size()),
           nFailures, nSheetWidth, nSheetHeight, argv[3]);
    return 0;
}
