#include "ui/OstrandWebAddresses.h"

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// Keeps letters, digits and the characters a path needs; encodes the rest.
std::string PercentEncodePath(const std::string& path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~' || c == ':';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace

//------------------------------------------------------------------------
std::string UserGuidePath(const std::string& moduleFolder)
{
    if (moduleFolder.empty())
        return {};
    std::string folder = moduleFolder;
    const char sep = folder.find('\\') != std::string::npos ? '\\' : '/';
    if (!IsSeparator(folder.back()))
        folder += sep;
    return folder + ".." + sep + "Resources" + sep + kTarvoUserGuideFile;
}

//------------------------------------------------------------------------
std::string UserGuideAddress(const std::string& moduleFolder)
{
    std::string path = UserGuidePath(moduleFolder);
    if (path.empty())
        return {};
    for (char& c : path)
        if (c == '\\')
            c = '/';
    // Drop the "<arch>/../" step so that the address is a plain one.
    const std::string up = "/../";
    for (std::size_t at = path.find(up); at != std::string::npos; at = path.find(up)) {
        std::size_t start = path.rfind('/', at == 0 ? 0 : at - 1);
        if (start == std::string::npos || at == 0)
            break;
        path.erase(start, at + up.size() - 1 - start);
    }
    // A drive-letter path needs a third slash: file:///C:/...
    const std::string prefix = path.front() == '/' ? "file://" : "file:///";
    return prefix + PercentEncodePath(path);
}
