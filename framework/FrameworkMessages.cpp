#include "framework/FrameworkMessages.h"

std::string AfxFormatString1(const std::string& text, const std::string& argument)
{
    std::string result = text;
    const auto at = result.find("%1");
    if (at != std::string::npos)
        result.replace(at, 2, argument);
    return result;
}
