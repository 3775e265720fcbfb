#include "cli/json_string_array.h"

namespace
{
class CJsonReader
{
public:
    explicit CJsonReader(std::string_view text) : m_text(text) {}

    void SkipBlanks()
    {
        while (m_nPos < m_text.size() && (m_text[m_nPos] == ' ' || m_text[m_nPos] == '\t' ||
                                          m_text[m_nPos] == '\r' || m_text[m_nPos] == '\n'))
            ++m_nPos;
    }
    bool Take(char c)
    {
        SkipBlanks();
        if (m_nPos >= m_text.size() || m_text[m_nPos] != c)
            return false;
        ++m_nPos;
        return true;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return m_nPos == m_text.size();
    }
    bool String(std::string& strValue)
    {
        if (!Take('"'))
            return false;
        strValue.clear();
        while (m_nPos < m_text.size())
        {
            const char c = m_text[m_nPos++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\')
            {
                strValue += c;
                continue;
            }
            if (m_nPos >= m_text.size())
                return false;
            const char e = m_text[m_nPos++];
            const char* pszSimple = "\"\"\\\\//b\bf\fn\nr\rt\t";
            bool bSimple = false;
            for (const char* p = pszSimple; *p; p += 2)
                if (e == p[0])
                {
                    strValue += p[1];
                    bSimple = true;
                }
            if (!bSimple && (e != 'u' || !Unicode(strValue)))
                return false;
        }
        return false;
    }

private:
    bool Hex4(unsigned& nValue)
    {
        if (m_text.size() - m_nPos < 4)
            return false;
        nValue = 0;
        for (int i = 0; i < 4; ++i)
        {
            const char c = m_text[m_nPos++];
            const int nDigit = c >= '0' && c <= '9'   ? c - '0'
                               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                      : -1;
            if (nDigit < 0)
                return false;
            nValue = nValue * 16 + static_cast<unsigned>(nDigit);
        }
        return true;
    }
    // After "\u": one code point, a surrogate pair joined, as UTF-8.
    bool Unicode(std::string& strValue)
    {
        unsigned nCode;
        if (!Hex4(nCode) || (nCode >= 0xDC00 && nCode <= 0xDFFF))
            return false;
        if (nCode >= 0xD800 && nCode <= 0xDBFF)
        {
            unsigned nLow;
            if (m_text.substr(m_nPos, 2) != "\\u")
                return false;
            m_nPos += 2;
            if (!Hex4(nLow) || nLow < 0xDC00 || nLow > 0xDFFF)
                return false;
            nCode = 0x10000 + ((nCode - 0xD800) << 10) + (nLow - 0xDC00);
        }
        if (nCode < 0x80)
            strValue += static_cast<char>(nCode);
        else if (nCode < 0x800)
        {
            strValue += static_cast<char>(0xC0 | (nCode >> 6));
            strValue += static_cast<char>(0x80 | (nCode & 0x3F));
        }
        else if (nCode < 0x10000)
        {
            strValue += static_cast<char>(0xE0 | (nCode >> 12));
            strValue += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            strValue += static_cast<char>(0x80 | (nCode & 0x3F));
        }
        else
        {
            strValue += static_cast<char>(0xF0 | (nCode >> 18));
            strValue += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
            strValue += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            strValue += static_cast<char>(0x80 | (nCode & 0x3F));
        }
        return true;
    }

    std::string_view m_text;
    size_t m_nPos = 0;
};
} // namespace

bool ParseJsonStringArray(std::string_view text, std::vector<std::string>& strings)
{
    std::vector<std::string> found;
    CJsonReader reader(text);
    if (!reader.Take('['))
        return false;
    if (!reader.Take(']'))
    {
        do
        {
            std::string strValue;
            if (!reader.String(strValue))
                return false;
            found.push_back(std::move(strValue));
        } while (reader.Take(','));
        if (!reader.Take(']'))
            return false;
    }
    if (!reader.AtEnd())
        return false;
    strings.insert(strings.end(), found.begin(), found.end());
    return true;
}
