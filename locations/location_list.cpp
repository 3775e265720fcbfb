#include "locations/location_list.h"

#include "platform/compare_no_case.h"

#include <algorithm>

bool CLocationList::Add(const std::string& strPath)
{
    if (Contains(strPath))
        return false;
    m_items.insert(m_items.begin() + (m_items.empty() ? 0 : 1), strPath);
    return true;
}

bool CLocationList::Append(const std::string& strPath)
{
    if (Contains(strPath))
        return false;
    m_items.push_back(strPath);
    return true;
}

bool CLocationList::Remove(const std::string& strPath)
{
    const auto it = std::find(m_items.begin(), m_items.end(), strPath);
    if (it == m_items.end())
        return false;
    m_items.erase(it);
    return true;
}

bool CLocationList::Contains(const std::string& strPath) const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [&](const std::string& strItem) { return EqualsNoCase(strItem, strPath); });
}
