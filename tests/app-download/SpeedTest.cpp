// The download's size and speed texts: the unit steps of FormatSize and the
// thresholds after which the speed label shows a rate.
#include <gtest/gtest.h>

#include <string>

#include "DownloadTask.h"

namespace {

TEST(FormatSize, PicksTheUnitByRange)
{
    struct {
        double dValue;
        const char* pszText;
    } const cases[] = {
        {0, "0 b"},
        {700, "700 b"},
        {1023.9, "1023 b"},  // the whole part, not rounded
        {1024, "1.00 K"},
        {51200, "50.00 K"},
        {1048575, "1024.00 K"},  // just below a megabyte, rounded by the format
        {1048576, "1.00 M"},
        {3145728, "3.00 M"},
        {1073741823, "1024.00 M"},
        {1073741824, "1.00 G"},
        {1610612736, "1.50 G"},
        {5497558138880.0, "5120.00 G"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CDownloadTask::FormatSize(c.dValue).GetString()), c.pszText) << c.dValue;
}

TEST(FormatSpeed, ShowsTheAverageRateOnlyAfterItsThresholds)
{
    struct {
        DWORD dwElapsed;
        LONGLONG nBytes;
        const char* pszText;  // empty: the label is left alone
    } const cases[] = {
        {0, 0, ""},
        {1999, 1000000, ""},
        {2000, 1000000, ""},        // more than 2000 ms are needed
        {2001, 10240, ""},          // and more than 10240 bytes
        {2001, 10241, "5.00 K/S"},
        {4000, 204800, "50.00 K/S"},
        {5000, 10240, ""},          // up to 5000 ms the byte threshold holds
        {5001, 0, "0 b/S"},         // after 5000 ms any amount is shown
        {6000, 4200, "700 b/S"},
        {10000, 31457280, "3.00 M/S"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CDownloadTask::FormatSpeed(c.dwElapsed, c.nBytes).GetString()), c.pszText)
            << c.dwElapsed << " ms, " << c.nBytes << " bytes";
}

}  // namespace
