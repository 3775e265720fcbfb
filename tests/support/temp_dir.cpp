#include "support/temp_dir.h"

#include "platform/path.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

CTempDir::CTempDir()
{
    std::string strTemplate = (fs::temp_directory_path() / "jarvane-test-XXXXXX").string();
    if (!mkdtemp(&strTemplate[0]))
        throw std::runtime_error("cannot create a temporary folder");
    m_strPath = strTemplate;
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    fs::remove_all(m_strPath, ec);
}

std::string CTempDir::File(const std::string& strName) const
{
    return AppendPathPart(m_strPath, strName);
}

std::string CTempDir::Write(const std::string& strName, const std::string& strContent) const
{
    const std::string strPath = File(strName);
    fs::create_directories(fs::path(strPath).parent_path());
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(strContent.data(), static_cast<std::streamsize>(strContent.size()));
    if (!out)
        throw std::runtime_error("cannot write " + strPath);
    return strPath;
}

std::string CTempDir::MakeDir(const std::string& strName) const
{
    const std::string strPath = File(strName);
    fs::create_directories(strPath);
    return strPath;
}

std::string ReadWholeFile(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool FileExists(const std::string& strPath)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(strPath, ec));
}
