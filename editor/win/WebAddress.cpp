#include "editor/win/WebAddress.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

namespace {

//------------------------------------------------------------------------
bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix)
        if (std::tolower(static_cast<unsigned char>(*text)) != *prefix)
            return false;
    return true;
}

} // namespace

//------------------------------------------------------------------------
bool IsOpenableWebAddress(const char* url)
{
    if (url == nullptr)
        return false;
    std::size_t scheme = 0;
    for (const char* prefix : {"http://", "https://", "mailto:"})
        if (StartsWithNoCase(url, prefix))
            scheme = std::strlen(prefix);
    if (scheme == 0 || url[scheme] == '\0')
        return false;
    for (const char* c = url; *c != '\0'; ++c) {
        const auto u = static_cast<unsigned char>(*c);
        if (u <= 0x20 || u == 0x7f || u == '"')
            return false;
    }
    return true;
}
