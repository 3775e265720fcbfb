// The profile reader and writer: reads never fail on arbitrary files, and a
// value written is read back as written, other keys unchanged.
#include "input_file.h"
#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace
{
bool IsPlainName(const std::string& str)
{
    return !str.empty() && std::all_of(str.begin(), str.end(),
                                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// A value the profile format keeps as it is: printable, no blanks or quotes at its ends.
bool IsPlainValue(const std::string& str)
{
    if (str.empty())
        return true;
    const auto IsEdge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    return !IsEdge(str.front()) && !IsEdge(str.back()) &&
           std::all_of(str.begin(), str.end(),
                       [](unsigned char c) { return c >= 0x20 && c != 0x7f; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    FuzzedDataProvider provider(pData, nSize);
    const std::string strSection = provider.ConsumeRandomLengthString(16);
    const std::string strKey = provider.ConsumeRandomLengthString(16);
    const std::string strValue = provider.ConsumeRandomLengthString(64);
    const std::string strOtherKey = strKey + "x";
    const std::string strContent = provider.ConsumeRemainingBytesAsString();
    const std::string strPath = WriteFuzzFile(
        "fuzz.ini", reinterpret_cast<const uint8_t*>(strContent.data()), strContent.size());

    ProfileReadInt(strSection, strKey, 7, strPath);
    const std::string strOtherBefore =
        ProfileReadStringWithSize(strSection, strOtherKey, "-", 1023, strPath);
    if (!ProfileWriteString(strSection, strKey, strValue, strPath))
        return 0;
    const std::string strRead =
        ProfileReadStringWithSize(strSection, strKey, "\x01", 100000, strPath);
    const std::string strOtherAfter =
        ProfileReadStringWithSize(strSection, strOtherKey, "-", 1023, strPath);
    if (IsPlainName(strSection) && IsPlainName(strKey) && IsPlainValue(strValue) &&
        (strRead != strValue || strOtherAfter != strOtherBefore))
        std::abort();
    return 0;
}
