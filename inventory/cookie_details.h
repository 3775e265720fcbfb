#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One cookie as its store keeps it, without its value: the value is a
// credential, so only its size is kept.
struct CCookieFacts
{
    std::string strName;
    std::string strHost;
    std::string strPath;
    bool bSession = true;      // ends with the browser session; nExpires is then unused
    std::int64_t nExpires = 0; // seconds since 1970 (UTC)
    bool bSecure = false;
    bool bHttpOnly = false;
    std::uint64_t nValueBytes = 0;
    bool bValueEncrypted = false; // the size is that of the value as the browser encrypted it
};

// What tells one listed cookie from another: its browser, the file that keeps
// it, the profile of a browser database, and the cookies it stands for (an
// Internet Explorer file may hold several; none when the file cannot be read).
struct CCookieDetails
{
    std::string strBrowser;
    std::string strStoreFile;
    std::string strProfile; // the profile's folder name, for a browser database
    std::vector<CCookieFacts> cookies;
};

// The cookies of an Internet Explorer cookie file: records of nine lines (name,
// value, host and path, flags, expiry and creation as the low and high words of
// a FILETIME, "*"). False when the file cannot be opened or read; a last record
// cut short is left out.
bool ReadIECookieFile(const std::string& strPath, std::vector<CCookieFacts>& cookies);

// The cookie of a cookies.txt line: domain, include-subdomains, path, secure,
// expiry (0 or empty for a session cookie), name, value; an "#HttpOnly_" prefix
// marks an HttpOnly cookie. False for a line that is no cookie line.
bool ParseNSCookieFacts(const std::string& strLine, CCookieFacts& facts);

// Seconds since 1970 of a FILETIME (100 ns units since 1601).
std::int64_t FileTimeToUnixSeconds(std::uint64_t nFileTime);
// Seconds since 1970 of a Chromium time (microseconds since 1601).
std::int64_t ChromiumTimeToUnixSeconds(std::int64_t nMicroseconds);
// Seconds since 1970 of a Firefox expiry: milliseconds in current profiles,
// seconds in older ones and in other browsers using the same table.
std::int64_t FirefoxExpiryToUnixSeconds(std::int64_t nExpiry);

// "End of session", or the expiry in local time ("2036-12-05 14:07:06 CET").
std::string FormatExpiry(const CCookieFacts& facts);
// "12", or "51 encrypted" for a value the browser keeps encrypted.
std::string FormatValueSize(const CCookieFacts& facts);
