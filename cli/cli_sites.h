#pragma once

#include <string>
#include <vector>

// jarvane-cli's commands on the sites to keep (SITES.DAT in the working folder).
// Messages go to standard error; each returns the exit status.

// sites: one site a line.
int ListKeptSites(const std::string& strFolder);

// keep SITE... [--from FILE] (bKeep) and unkeep SITE...: every entry is checked
// first; a refused or unknown one is named and nothing changes.
int ChangeKeptSites(const std::string& strFolder, const std::vector<std::string>& entries,
                    const std::string& strFromFile, bool bKeep);
