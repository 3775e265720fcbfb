#include "inventory/site_list.h"

#include "platform/compare_no_case.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <libpsl.h>
#include <system_error>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// An IP address, or a host whose last label is a number: no domain names it,
// so no parent domain keeps it either.
bool IsAddress(std::string_view host)
{
    if (host.find(':') != std::string_view::npos)
        return true;
    const std::string_view last = host.substr(host.rfind('.') + 1);
    return !last.empty() &&
           std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHostCharacter(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
           c == ':' || c == '[' || c == ']' || u >= 0x80; // UTF-8 of an international name
}

// The library's built-in copy of the Public Suffix List; null if it has none.
const psl_ctx_t* PublicSuffixList()
{
    return psl_builtin();
}
} // namespace

std::string NormaliseSite(std::string_view entry)
{
    while (!entry.empty() && IsBlank(entry.front()))
        entry.remove_prefix(1);
    while (!entry.empty() && IsBlank(entry.back()))
        entry.remove_suffix(1);
    if (entry.substr(0, 2) == "*.")
        entry.remove_prefix(2);
    while (!entry.empty() && entry.front() == '.')
        entry.remove_prefix(1);
    std::string strSite(entry);
    std::transform(strSite.begin(), strSite.end(), strSite.begin(), FoldAsciiCase);
    return strSite;
}

std::string_view CookieHost(std::string_view name)
{
    name = name.substr(0, name.find('/'));
    while (!name.empty() && name.front() == '.')
        name.remove_prefix(1);
    return name;
}

std::string SiteRefusal(const std::string& strSite)
{
    if (strSite.empty())
        return "is empty: a site is a host name such as example.com";
    if (!std::all_of(strSite.begin(), strSite.end(), IsHostCharacter) ||
        strSite.find("..") != std::string::npos || strSite.back() == '.')
        return "is not a host name: a site is a host name such as example.com";
    if (IsAddress(strSite))
        return std::string();
    const psl_ctx_t* pList = PublicSuffixList();
    if (!pList)
        return "cannot be checked: the Public Suffix List is not available";
    // Without the list's implicit "*" rule an unlisted single label such as
    // localhost is not a suffix; it keeps that host only.
    if (psl_is_public_suffix2(pList, strSite.c_str(), PSL_TYPE_ANY | PSL_TYPE_NO_STAR_RULE))
        return "is a public suffix: keeping it would keep the cookies of every site under it";
    return std::string();
}

std::string RegistrableDomain(std::string_view host)
{
    const std::string strHost = NormaliseSite(host);
    if (IsAddress(strHost))
        return strHost;
    const psl_ctx_t* pList = PublicSuffixList();
    const char* pszDomain = pList ? psl_registrable_domain(pList, strHost.c_str()) : nullptr;
    return pszDomain ? std::string(pszDomain) : strHost;
}

CSiteList& CSiteList::operator=(const CSiteList& other)
{
    if (this != &other)
    {
        m_sites = other.m_sites;
        Rebuild();
    }
    return *this;
}

bool CSiteList::Add(const std::string& strSite)
{
    const auto inserted = m_sites.insert(strSite);
    if (inserted.second)
    {
        m_lookup.insert(*inserted.first);
        m_filter.set(FilterIndex(*inserted.first));
    }
    return inserted.second;
}

bool CSiteList::Remove(const std::string& strSite)
{
    const auto it = m_sites.find(strSite);
    if (it == m_sites.end())
        return false;
    m_sites.erase(it);
    Rebuild();
    return true;
}

size_t CSiteList::FilterIndex(std::string_view host)
{
    unsigned long long nBytes = 0;
    std::memcpy(&nBytes, host.data(), std::min<size_t>(host.size(), sizeof nBytes));
    const unsigned long long nMixed =
        (nBytes ^ (host.size() * 0x9E3779B97F4A7C15ull)) * 0xFF51AFD7ED558CCDull;
    return static_cast<size_t>(nMixed >> (64 - kFilterBits));
}

void CSiteList::Rebuild()
{
    m_lookup = std::unordered_set<std::string_view>(m_sites.begin(), m_sites.end());
    m_filter.reset();
    for (const std::string& strSite : m_sites)
        m_filter.set(FilterIndex(strSite));
}

bool CSiteList::Covers(std::string_view name) const
{
    if (m_lookup.empty())
        return false;
    std::string_view host = CookieHost(name);
    // Most hosts are lower case already: only others are copied to be folded.
    std::string strFolded;
    if (std::any_of(host.begin(), host.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
    {
        strFolded.assign(host);
        std::transform(strFolded.begin(), strFolded.end(), strFolded.begin(), FoldAsciiCase);
        host = strFolded;
    }
    if (Lookup(host))
        return true;
    if (IsAddress(host))
        return false;
    // Each parent domain, up to the last with two labels: a single label keeps
    // only a host of that name.
    for (size_t nDot = host.find('.'); nDot != std::string_view::npos; nDot = host.find('.'))
    {
        host.remove_prefix(nDot + 1);
        if (host.find('.') == std::string_view::npos)
            break;
        if (Lookup(host))
            return true;
    }
    return false;
}

CSiteList SitesFromLines(const std::vector<std::string>& lines)
{
    CSiteList sites;
    for (const std::string& strLine : lines)
    {
        const std::string strSite = NormaliseSite(strLine);
        if (!strSite.empty() && strSite.front() != '#' && SiteRefusal(strSite).empty())
            sites.Add(strSite);
    }
    return sites;
}

EKeepListRead ReadSitesFile(const std::string& strPath, CSiteList& sites)
{
    std::vector<std::string> lines;
    const EKeepListRead read = ReadKeepList(strPath, lines);
    sites = SitesFromLines(lines);
    return read;
}

bool WriteSitesFile(const std::string& strPath, const CSiteList& sites)
{
    return ReplaceFileContents(strPath, JoinCrLfLines(sites.Sorted()));
}
