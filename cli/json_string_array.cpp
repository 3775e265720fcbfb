#include "cli/json_string_array.h"

#include <nlohmann/json.hpp>

bool ParseJsonStringArray(std::string_view text, std::vector<std::string>& strings)
{
    // Without exceptions: a text that is not JSON parses as "discarded".
    const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (!value.is_array())
        return false;
    std::vector<std::string> found;
    for (const nlohmann::json& element : value)
    {
        if (!element.is_string())
            return false;
        found.push_back(element.get<std::string>());
    }
    strings.insert(strings.end(), found.begin(), found.end());
    return true;
}
