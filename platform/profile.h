#pragma once

#include <string>
#include <vector>

// Profile (INI) files, read and written the way the Windows profile calls do:
// section and key names match without regard to case and are trimmed, the
// first section and the first key of a name win, lines end with CR-LF.

// The value of a key, or strDefault (trailing blanks stripped) when the file,
// the section or the key is missing, or the key has no "=". A value in
// matching quotes comes back without them. At most nSize - 1 characters come
// back (nothing when nSize is 0).
std::string ProfileReadStringWithSize(const std::string& strSection, const std::string& strKey,
                                      const std::string& strDefault, size_t nSize,
                                      const std::string& strPath);

// The leading decimal integer of a key's value after blanks and an optional
// sign (0 when it has none), low 32 bits kept; nDefault only when the key is missing.
int ProfileReadInt(const std::string& strSection, const std::string& strKey, int nDefault,
                   const std::string& strPath);

// The names of the file's sections in file order, each once (the first
// spelling of a name); empty when the file cannot be read.
std::vector<std::string> ProfileSectionNames(const std::string& strPath);

// Sets a key's value, creating the file, the section and the key as needed and
// keeping every other line. False when the file could not be written, or a
// name or the value holds a line break (or the key an "="), which the file
// could not keep.
bool ProfileWriteString(const std::string& strSection, const std::string& strKey,
                        const std::string& strValue, const std::string& strPath);
