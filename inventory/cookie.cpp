#include "inventory/cookie.h"

#include "platform/safe_file.h"

bool CIECookie::Delete()
{
    return DeleteFileAt(m_strPath);
}
