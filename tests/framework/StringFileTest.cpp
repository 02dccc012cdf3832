// CString, the runtime-class facility, CFile and CStdioFile on real files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Afx.h"

namespace {

TEST(CStringTest, SearchAndSlice)
{
    CString s("Hello, World");
    EXPECT_EQ(s.Find('o'), 4);
    EXPECT_EQ(s.Find('o', 5), 8);
    EXPECT_EQ(s.Find("World"), 7);
    EXPECT_EQ(s.Find("world"), -1);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find('H', 99), -1);
    EXPECT_EQ(s.ReverseFind('o'), 8);
    EXPECT_STREQ(s.Left(5), "Hello");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Right(5), "World");
    EXPECT_STREQ(s.Right(50), "Hello, World");
    EXPECT_STREQ(s.Mid(7), "World");
    EXPECT_STREQ(s.Mid(7, 2), "Wo");
    EXPECT_STREQ(s.Mid(40, 2), "");
}

TEST(CStringTest, CaseReplaceTrimFormat)
{
    CString s("MiXeD \xC4");  // A-umlaut in the ANSI code page
    CString lower(s);
    lower.MakeLower();
    EXPECT_STREQ(lower, "mixed \xE4");
    EXPECT_EQ(s.CompareNoCase("MIXED \xC4"), 0);

    CString path("a*b\\c/d?e\"f<g>h|i:j");
    const char* bad = "*\\/?\"<>|:";
    for (const char* p = bad; *p; ++p)
        path.Replace(*p, '_');
    EXPECT_STREQ(path, "a_b_c_d_e_f_g_h_i_j");

    CString words("one two two");
    EXPECT_EQ(words.Replace("two", "three"), 2);
    EXPECT_STREQ(words, "one three three");

    CString padded("  \t x y \r\n");
    EXPECT_STREQ(padded.Trim(), "x y");

    CString f;
    f.Format("%d%% of %s", 37, "it");
    EXPECT_STREQ(f, "37% of it");
    std::string big(5000, 'z');
    f.Format("%s!", big.c_str());
    EXPECT_EQ(f.GetLength(), 5001);
}

TEST(CStringTest, BufferAccess)
{
    CString s;
    char* p = s.GetBuffer(10);
    strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    p = s.GetBuffer(2);  // never shrinks below the current text
    EXPECT_STREQ(p, "abc");
    s.ReleaseBuffer(2);
    EXPECT_STREQ(s, "ab");
}

class CShape : public CObject {
    DECLARE_DYNCREATE(CShape)
};
IMPLEMENT_DYNCREATE(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CCounted : public CCmdTarget {
public:
    explicit CCounted(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CCounted() override { ++*m_pDeleted; }
    int* m_pDeleted;
};

TEST(RuntimeClassTest, CreatesByClassAndKnowsItsBases)
{
    const CRuntimeClass* pClass = RUNTIME_CLASS(CCircle);
    CObject* pObject = pClass->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_EQ(pObject->GetRuntimeClass(), RUNTIME_CLASS(CCircle));
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
    EXPECT_STREQ(pClass->m_lpszClassName, "CCircle");
    delete pObject;
    EXPECT_EQ(RUNTIME_CLASS(CWnd)->CreateObject(), nullptr);  // not creatable by class
}

TEST(RuntimeClassTest, LastReleaseDeletes)
{
    int nDeleted = 0;
    CCounted* p = new CCounted(&nDeleted);
    EXPECT_EQ(p->InternalAddRef(), 2u);
    EXPECT_EQ(p->InternalRelease(), 1u);
    EXPECT_EQ(nDeleted, 0);
    EXPECT_EQ(p->InternalRelease(), 0u);
    EXPECT_EQ(nDeleted, 1);
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char szDir[MAX_PATH];
        GetTempPathA(MAX_PATH, szDir);
        m_strPath.Format("%stavmio-file-%lu.tmp", szDir, GetCurrentProcessId());
        DeleteFileA(m_strPath);
    }
    void TearDown() override { DeleteFileA(m_strPath); }

    void WriteRaw(const std::string& data)
    {
        CFile file;
        ASSERT_TRUE(file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(file.Write(data.data(), static_cast<UINT>(data.size())));
    }
    std::string ReadRaw()
    {
        CFile file;
        std::string data;
        if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyNone))
            return "<missing>";
        char buffer[256];
        UINT n;
        while ((n = file.Read(buffer, sizeof(buffer))) > 0)
            data.append(buffer, n);
        return data;
    }

    CString m_strPath;
};

TEST_F(FileTest, CreationModes)
{
    CFile file;
    EXPECT_FALSE(file.Open(m_strPath, CFile::modeRead));  // missing
    EXPECT_FALSE(file.IsOpen());

    WriteRaw("0123456789");
    // Create without truncation keeps the old bytes and writes from the start.
    ASSERT_TRUE(file.Open(m_strPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite |
                                         CFile::shareDenyNone));
    EXPECT_EQ(file.GetLength(), 10u);
    ASSERT_TRUE(file.Write("ab", 2));
    // Another handle can read while this one is open.
    EXPECT_EQ(ReadRaw(), "ab23456789");
    ASSERT_TRUE(file.SetLength(file.GetPosition()));
    file.Close();
    file.Close();  // closing twice does nothing
    EXPECT_EQ(ReadRaw(), "ab");

    // Plain create truncates.
    ASSERT_TRUE(file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite));
    file.Close();
    EXPECT_EQ(ReadRaw(), "");
    EXPECT_TRUE(CFile::Remove(m_strPath));
    EXPECT_EQ(ReadRaw(), "<missing>");
}

TEST_F(FileTest, WriteToClosedOrReadOnlyFileFails)
{
    CFile file;
    EXPECT_FALSE(file.Write("x", 1));
    WriteRaw("abc");
    ASSERT_TRUE(file.Open(m_strPath, CFile::modeRead));
    EXPECT_FALSE(file.Write("x", 1));
    file.Close();
    EXPECT_EQ(ReadRaw(), "abc");
}

TEST_F(FileTest, ReadsLinesAsTextMode)
{
    struct Case {
        const char* name;
        std::string data;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
        {"lf only", "one\ntwo\n", {"one", "two"}},
        {"last line without end", "one\r\ntwo", {"one", "two"}},
        {"empty lines", "\r\n\nx\n", {"", "", "x"}},
        {"lone cr stays", "a\rb\r\n", {"a\rb"}},
        {"empty file", "", {}},
        {"long line across buffers", std::string(10000, 'q') + "\nend", {std::string(10000, 'q'), "end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRaw(c.data);
        CStdioFile file;
        ASSERT_TRUE(file.Open(m_strPath, CFile::modeRead | CFile::typeText));
        std::vector<std::string> lines;
        CString line;
        while (file.ReadString(line))
            lines.push_back(line.Str());
        EXPECT_EQ(lines, c.lines);
    }
}

} // namespace
