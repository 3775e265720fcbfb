#pragma once

#include "inventory/keep_list.h"

#include <bitset>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The list of sites to keep, in the working folder beside the protection lists.
#define SITES_FILE "SITES.DAT"

// A site as it is stored: ASCII letters in lower case, surrounding blanks,
// leading dots and a leading "*." removed.
std::string NormaliseSite(std::string_view entry);

// The host a record's cookie belongs to, from the record's name: the part
// before the first '/' (an Internet Explorer name holds a path after it),
// without leading dots (a Netscape or database domain cookie starts with one).
std::string_view CookieHost(std::string_view name);

// Why a normalised entry cannot be a site, as the end of a sentence that
// starts with the entry; empty when it can be one. An entry that is a public
// suffix (com, co.uk, github.io) is refused: it would keep every site under it.
std::string SiteRefusal(const std::string& strSite);

// The registrable domain of a host, normalised (accounts.mail.example gives
// mail.example); the host itself when it has none (an IP address, localhost).
std::string RegistrableDomain(std::string_view host);

// Sites to keep: each keeps every cookie, of every browser, whose host is the
// site or ends with '.' and the site, ASCII case ignored. A site that is an IP
// address or a single label (localhost) keeps that host only.
class CSiteList
{
public:
    CSiteList() = default;
    CSiteList(const CSiteList& other) { *this = other; }
    CSiteList& operator=(const CSiteList& other);

    // Adds a normalised site that SiteRefusal accepts; false when it was listed.
    bool Add(const std::string& strSite);
    bool Remove(const std::string& strSite);
    bool Contains(const std::string& strSite) const { return m_sites.count(strSite) != 0; }
    bool Empty() const { return m_sites.empty(); }
    bool operator==(const CSiteList& other) const { return m_sites == other.m_sites; }
    // The sites in byte order, as SITES.DAT holds them.
    std::vector<std::string> Sorted() const { return {m_sites.begin(), m_sites.end()}; }

    // Whether a site keeps the cookies of a record with this name. Looks up the
    // host and each of its parent domains, never the whole list.
    bool Covers(std::string_view name) const;

private:
    // A filter before the hash set: one bit per site, by a hash of its length
    // and first bytes, so that most parent domains of most hosts are ruled out
    // without hashing them whole.
    static constexpr unsigned kFilterBits = 14;
    static size_t FilterIndex(std::string_view host);
    bool MayContain(std::string_view host) const { return m_filter[FilterIndex(host)]; }
    bool Lookup(std::string_view host) const
    {
        return MayContain(host) && m_lookup.count(host) != 0;
    }
    void Rebuild();

    std::set<std::string> m_sites;
    std::unordered_set<std::string_view> m_lookup; // views of m_sites' strings
    std::bitset<size_t(1) << kFilterBits> m_filter;
};

// The sites of SITES.DAT's lines: blank lines and lines starting with '#' are
// ignored, others are normalised; an entry SiteRefusal refuses keeps nothing
// and is dropped.
CSiteList SitesFromLines(const std::vector<std::string>& lines);
// Reads SITES.DAT as a keep list: one that exists but cannot be read whole is
// Unreadable, and sites is then empty.
EKeepListRead ReadSitesFile(const std::string& strPath, CSiteList& sites);
// Replaces SITES.DAT with the sites, one a line, sorted, CR-LF.
bool WriteSitesFile(const std::string& strPath, const CSiteList& sites);
