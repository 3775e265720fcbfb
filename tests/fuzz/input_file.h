#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A folder of this fuzzing process, made once and reused for every input.
const std::string& FuzzFolder();

// Writes the input to a file of that folder and returns its path.
std::string WriteFuzzFile(const char* pszName, const uint8_t* pData, size_t nSize);
