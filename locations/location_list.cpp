#include "locations/location_list.h"

#include "platform/compare_no_case.h"

bool CLocationList::Add(const std::string& strPath)
{
    for (const std::string& strItem : m_items)
        if (EqualsNoCase(strItem, strPath))
            return false;
    m_items.insert(m_items.begin() + (m_items.empty() ? 0 : 1), strPath);
    return true;
}
