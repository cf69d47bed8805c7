#include "engine/run_fields.h"

#include "engine/path_rules.h"

namespace engine {

std::string normaliseSourceField(std::string_view text)
{
    return platform::toLower(platform::trimSpaces(text));
}

std::string normaliseDestinationField(std::string_view text, char separator)
{
    std::string folder = GetPathFolder(text, separator); // trims and lower-cases too
    if (folder.size() >= 2 && folder[folder.size() - 1] == separator && folder[folder.size() - 2] == separator)
        folder.pop_back();
    return folder;
}

} // namespace engine
