#pragma once

#include <string>
#include <vector>

// An ordered list of cookie locations as the Find Cookie Location dialog shows
// it: no two paths equal without regard to case, and a new path goes directly
// below the first one (adding A, B and C gives A, C, B).
class CLocationList
{
public:
    // Adds a path under the rules above; false when an equal path is listed.
    bool Add(const std::string& strPath);
    // Adds a path at the end, unless an equal path is listed; false then.
    bool Append(const std::string& strPath);
    // Removes the path (compared exactly); false when it is not listed.
    bool Remove(const std::string& strPath);
    // True when an equal path (without regard to case) is listed.
    bool Contains(const std::string& strPath) const;
    void Clear() { m_items.clear(); }
    size_t GetCount() const { return m_items.size(); }
    const std::string& GetItem(size_t nIndex) const { return m_items[nIndex]; }
    // The paths from top to bottom.
    const std::vector<std::string>& GetItems() const { return m_items; }

private:
    std::vector<std::string> m_items;
};
