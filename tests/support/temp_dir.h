#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in
// it when the object goes away.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    // Path() + separator + relative name.
    std::string File(const std::string& strName) const;
    // Writes bytes to a file under the folder, creating its parent folders.
    std::string Write(const std::string& strName, const std::string& strContent) const;
    // Makes a folder (and its parents) under the folder; returns its path.
    std::string MakeDir(const std::string& strName) const;

private:
    std::string m_strPath;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& strPath);
bool FileExists(const std::string& strPath);
