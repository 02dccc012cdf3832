// The executable's resources as built: the main window and about box
// templates, the combo box initialisation data, the string table, the icon
// and the manifest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "Resource.h"

namespace {

HMODULE ProgramAsData()
{
    static HMODULE s_hModule =
        LoadLibraryExA(getenv("TAVMIO_EXE"), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return s_hModule;
}

std::vector<BYTE> Resource(LPCSTR pszType, LPCSTR pszName)
{
    HMODULE hModule = ProgramAsData();
    HRSRC hRes = FindResourceA(hModule, pszName, pszType);
    if (!hRes)
        return {};
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hRes)));
    return std::vector<BYTE>(p, p + SizeofResource(hModule, hRes));
}

std::string Narrow(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.pop_back();
    return out;
}

// Reads an extended dialog template.
class CTemplateReader {
public:
    explicit CTemplateReader(const std::vector<BYTE>& data) : m_data(data) {}
    WORD Word() { WORD w = *reinterpret_cast<const WORD*>(&m_data.at(m_pos)); m_pos += 2; return w; }
    DWORD Dword() { DWORD lo = Word(); return lo | (static_cast<DWORD>(Word()) << 16); }
    short Short() { return static_cast<short>(Word()); }
    // A string, or an ordinal written as "#n".
    std::string SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::wstring text;
        for (WORD w = first; w; w = Word())
            text += static_cast<wchar_t>(w);
        return Narrow(text);
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~size_t(3); }
    size_t Remaining() const { return m_data.size() - m_pos; }

private:
    const std::vector<BYTE>& m_data;
    size_t m_pos = 0;
};

struct DialogItem {
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::string cls, text;
};

struct Dialog {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string title, font;
    WORD pointSize = 0;
    std::vector<DialogItem> items;
};

Dialog ReadDialog(int nID)
{
    std::vector<BYTE> data = Resource(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(nID));
    Dialog dlg;
    if (data.empty())
        return dlg;
    CTemplateReader r(data);
    EXPECT_EQ(r.Word(), 1);       // version
    EXPECT_EQ(r.Word(), 0xFFFF);  // extended template
    r.Dword();                    // help id
    dlg.exStyle = r.Dword();
    dlg.style = r.Dword();
    WORD nItems = r.Word();
    dlg.x = r.Short();
    dlg.y = r.Short();
    dlg.cx = r.Short();
    dlg.cy = r.Short();
    r.SzOrOrd();  // menu
    r.SzOrOrd();  // class
    dlg.title = r.SzOrOrd();
    if (dlg.style & DS_SETFONT) {
        dlg.pointSize = r.Word();
        r.Word();  // weight
        r.Word();  // italic, charset
        dlg.font = r.SzOrOrd();
    }
    for (WORD i = 0; i < nItems; ++i) {
        r.AlignDword();
        DialogItem item;
        r.Dword();  // help id
        r.Dword();  // extended style
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = static_cast<int>(r.Dword());
        item.cls = r.SzOrOrd();
        item.text = r.SzOrOrd();
        WORD nExtra = r.Word();
        for (WORD k = 0; k < nExtra; k += 2)
            r.Word();
        dlg.items.push_back(item);
    }
    return dlg;
}

TEST(ResourceTest, MainWindowTemplate)
{
    ASSERT_NE(ProgramAsData(), nullptr) << "TAVMIO_EXE=" << (getenv("TAVMIO_EXE") ? getenv("TAVMIO_EXE") : "");
    Dialog dlg = ReadDialog(IDD_DOWNLOADER_DIALOG);
    EXPECT_EQ(dlg.title, "Tavmio");
    EXPECT_EQ(dlg.font, "Arial");
    EXPECT_EQ(dlg.pointSize, 9);
    EXPECT_EQ(dlg.cx, 291);
    EXPECT_EQ(dlg.cy, 125);
    const DWORD dwStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    EXPECT_EQ(dlg.style & dwStyle, dwStyle);
    EXPECT_TRUE(dlg.exStyle & WS_EX_APPWINDOW);

    // Button, edit and static are the template's ordinals 0x80, 0x81, 0x82;
    // combo box 0x85.
    struct Expected {
        int id;
        const char* cls;
        const char* text;
        short x, y, cx, cy;
        bool visible;
        DWORD styles;  // must all be present
    };
    const Expected expected[] = {
        {1, "#128", "Download", 36, 61, 62, 18, true, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {1002, "#129", "", 10, 17, 266, 14, true, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {-1, "#130", "HTTP Request", 0, 59, 49, 8, false, SS_CENTER | WS_GROUP},
        {-1, "#130", "Reply", 1, 71, 21, 8, false, SS_CENTER | WS_GROUP},
        {1003, "msctls_progress32", "Progress1", 19, 95, 222, 9, true, 0},
        {1004, "#130", "0.0KB/S", 247, 95, 39, 8, true, SS_CENTER | WS_GROUP},
        {1000, "#129", "", 1, 45, 19, 12, false, WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL},
        {1001, "#129", "", 2, 32, 17, 13, false, WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL},
        {3, "#128", "Pause", 258, 78, 31, 14, false, WS_TABSTOP},
        {4, "#128", "Stop", 113, 61, 62, 18, true, WS_TABSTOP},
        {1006, "#133", "", 96, 40, 178, 108, true, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {-1, "#130", "Youtube Video Quality :", 15, 43, 72, 8, true, WS_GROUP},
        {1007, "#128", "Guide", 190, 61, 62, 18, true, WS_TABSTOP},
        {-1, "#130", "Youtube URL:", 9, 5, 44, 8, true, WS_GROUP},
    };
    ASSERT_EQ(dlg.items.size(), std::size(expected));
    for (size_t i = 0; i < dlg.items.size(); ++i) {
        const DialogItem& item = dlg.items[i];
        const Expected& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + e.text + "\"");
        EXPECT_EQ(static_cast<short>(item.id), e.id);
        EXPECT_EQ(lstrcmpiA(item.cls.c_str(), e.cls), 0) << item.cls;  // class names ignore case
        EXPECT_EQ(item.text, e.text);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
        EXPECT_EQ((item.style & WS_VISIBLE) != 0, e.visible);
        EXPECT_EQ(item.style & e.styles, e.styles);
        EXPECT_TRUE(item.style & WS_CHILD);
    }
    // Left-aligned labels are plain left statics.
    EXPECT_EQ(dlg.items[11].style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));
}

TEST(ResourceTest, AboutBoxTemplateAndString)
{
    Dialog about = ReadDialog(IDD_ABOUTBOX);
    EXPECT_EQ(about.title, "About...");
    EXPECT_EQ(about.font, "\xE5\xAE\x8B\xE4\xBD\x93");  // the SimSun font's Chinese name, in UTF-8
    EXPECT_EQ(about.pointSize, 9);
    EXPECT_EQ(about.cx, 235);
    EXPECT_EQ(about.cy, 55);
    EXPECT_TRUE(about.items.empty());
    const DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(about.style & dwStyle, dwStyle);
    EXPECT_FALSE(about.style & WS_VISIBLE);

    char szText[64] = {};
    EXPECT_GT(LoadStringA(ProgramAsData(), IDS_ABOUTBOX, szText, sizeof(szText)), 0);
    EXPECT_STREQ(szText, "About Tavmio(&A)...");
}

TEST(ResourceTest, ComboBoxInitialisationData)
{
    std::vector<BYTE> data = Resource(MAKEINTRESOURCEA(240), MAKEINTRESOURCEA(IDD_DOWNLOADER_DIALOG));
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos + 8 <= data.size()) {
        WORD id = *reinterpret_cast<const WORD*>(&data[pos]);
        if (id == 0)
            break;
        WORD msg = *reinterpret_cast<const WORD*>(&data[pos + 2]);
        DWORD len = *reinterpret_cast<const DWORD*>(&data[pos + 4]);
        EXPECT_EQ(id, IDC_COMBO_QUALITY);
        EXPECT_EQ(msg, 0x0403);
        ASSERT_LE(pos + 8 + len, data.size());
        EXPECT_EQ(data[pos + 8 + len - 1], 0);  // the text carries its terminator
        items.emplace_back(reinterpret_cast<const char*>(&data[pos + 8]));
        pos += 8 + len;
    }
    const std::vector<std::string> expected = {"Normal Quality (*.flv)", "High Quality FLV Format(*.flv)",
                                               "High Quality MP4 Format(*.mp4)"};
    EXPECT_EQ(items, expected);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ResourceTest, IconHasSeventeenImages)
{
    std::vector<BYTE> group = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_GE(group.size(), 6u);
    WORD nCount = *reinterpret_cast<const WORD*>(&group[4]);
    ASSERT_EQ(nCount, 17);
    ASSERT_EQ(group.size(), 6 + nCount * sizeof(GroupIconEntry));
    std::vector<std::string> images;
    for (WORD i = 0; i < nCount; ++i) {
        GroupIconEntry e;
        memcpy(&e, &group[6 + i * sizeof(GroupIconEntry)], sizeof(e));
        int size = e.width ? e.width : 256;
        images.push_back(std::to_string(size) + "x" + std::to_string(e.bitCount));
        // Every image is there and opens as an icon of its size.
        std::vector<BYTE> image = Resource(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(e.id));
        ASSERT_EQ(image.size(), e.bytes);
        HICON hIcon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                               size, size, 0);
        EXPECT_NE(hIcon, nullptr) << images.back();
        DestroyIcon(hIcon);
    }
    const std::vector<std::string> expected = {
        "16x4",  "24x4",  "32x4",  "48x4",  "16x8",  "24x8",  "32x8",  "48x8",  "16x32",
        "20x32", "24x32", "32x32", "40x32", "48x32", "64x32", "96x32", "128x32"};
    EXPECT_EQ(images, expected);
}

TEST(ResourceTest, ManifestAsksForAdministratorRights)
{
    std::vector<BYTE> data = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    std::string text(data.begin(), data.end());
    EXPECT_NE(text.find("name=\"downloader.exe.manifest\""), std::string::npos);
    EXPECT_NE(text.find("version=\"1.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("type=\"win32\""), std::string::npos);
    EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos);
}

} // namespace
