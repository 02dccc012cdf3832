// Benchmark of theme loading: opening a package and parsing its INI text,
// and loading every image the INI text names. Prints the median of several
// runs in milliseconds.
//
//   theme_bench [light.msstyles path] [vista.cjstyles path]
#include "BenchSupport.h"
#include "XTPSkinThemeFile.h"
#include "XTPSkinThemeImage.h"
#include "XTPSkinThemeSchema.h"

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using tavbench::Median;

double NowMs()
{
    return tavbench::NowSeconds() * 1000.0;
}

// Image names of the INI text: the values of every *IMAGEFILE* property.
std::set<std::string> ImageNames(CXTPSkinThemeFile& file)
{
    std::set<std::string> names;
    CString strLine;
    while (file.ReadLine(strLine)) {
        strLine.MakeUpper();
        int nEqual = strLine.Find('=');
        if (nEqual > 0 && strLine.Left(nEqual).Find("IMAGEFILE") >= 0 && strLine.Find(';') != 0) {
            CString strValue = strLine.Mid(nEqual + 1);
            strValue.Trim();
            names.insert(strValue.Str());
        }
    }
    return names;
}

bool Bench(const char* pszLabel, const char* pszPath, const char* pszIni)
{
    const int nParseRuns = 21, nImageRuns = 7;
    std::vector<double> parse, images;
    int nValues = 0, nLoaded = 0;
    size_t nNames = 0;
    for (int i = 0; i < nParseRuns; i++) {
        double dStart = NowMs();
        CXTPSkinThemeFile file;
        if (!file.Open(pszPath, pszIni)) {
            printf("%-16s cannot open %s\n", pszLabel, pszPath);
            return false;
        }
        std::unique_ptr<CXTPSkinThemeSchema> pSchema(file.CreateSchema());
        pSchema->ParseIni(&file);
        parse.push_back(NowMs() - dStart);
        nValues = pSchema->GetValueCount();
    }
    for (int i = 0; i < nImageRuns; i++) {
        CXTPSkinThemeFile file;
        file.Open(pszPath, pszIni);
        std::set<std::string> names = ImageNames(file);
        nNames = names.size();
        double dStart = NowMs();
        std::vector<std::unique_ptr<CXTPSkinThemeImage>> loaded;
        for (const std::string& strName : names) {
            if (CXTPSkinThemeImage* pImage = file.LoadImage(strName.c_str()))
                loaded.emplace_back(pImage);
        }
        images.push_back(NowMs() - dStart);
        nLoaded = static_cast<int>(loaded.size());
    }
    printf("%-16s open + parse %7.2f ms (%d values)   all images %7.2f ms (%d of %d loaded)\n", pszLabel,
           Median(parse), nValues, Median(images), nLoaded, static_cast<int>(nNames));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* pszLight = argc > 1 ? argv[1] : TAVMIO_BENCH_LIGHT;
    const char* pszOwn = argc > 2 ? argv[2] : TAVMIO_BENCH_OWN;
    printf("Theme loading, median of 21 parses and 7 image loads\n");
    bool bOk = Bench("light.msstyles", pszLight, "Blue.ini");
    bOk = Bench("vista.cjstyles", pszOwn, nullptr) && bOk;
    return bOk ? 0 : 1;
}
