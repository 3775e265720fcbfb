#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends the strings of a JSON array of strings (["example.com", "mail.example"]), the form
// BleachBit keeps its cookie keep list in. False when the text is anything
// else: another value, an element that is not a string, an unfinished string
// or escape, text after the array; strings then holds what it held before.
bool ParseJsonStringArray(std::string_view text, std::vector<std::string>& strings);
