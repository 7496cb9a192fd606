// Folders and the desktop's opener, and the surface operations built on them.
#include "editor/x11/X11Desktop.h"

#include "editor/x11/IEditorSurfaceX11.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// The first executable `name` on PATH, or empty.
std::string FindOnPath(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr && *path != '\0' ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + name;
            if (access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

//------------------------------------------------------------------------
bool X11IsOpenableAddress(const char* url)
{
    if (url == nullptr)
        return false;
    static const char* const kSchemes[] = {"http://", "https://", "file://"};
    bool known = false;
    for (const char* scheme : kSchemes)
        known = known || strncasecmp(url, scheme, std::strlen(scheme)) == 0;
    if (!known)
        return false;
    for (const char* p = url; *p != '\0'; ++p) {
        auto c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c == 0x7f)
            return false;
    }
    return std::strlen(url) < 4096;
}

//------------------------------------------------------------------------
std::string X11FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

//------------------------------------------------------------------------
bool X11StartOpener(const char* url)
{
    if (!X11IsOpenableAddress(url))
        return false;
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty())
        return false;
    // Everything the children need is prepared before forking: after fork
    // only async-signal-safe calls are made.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url), nullptr};
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // The middle child starts the opener and leaves at once, so the
        // opener is adopted by init and the host has nothing to reap.
        if (fork() == 0) {
            setsid();
            // The host's descriptors stay with the host; the report pipe is
            // moved to 3 and closes itself when exec succeeds.
            if (report[1] != 3) {
                dup3(report[1], 3, O_CLOEXEC);
            }
            if (close_range(4, ~0u, 0) != 0)
                for (int fd = 4; fd < 65536; ++fd)
                    close(fd);
            execv(opener.c_str(), argv);
            int err = errno;
            ssize_t ignored = write(3, &err, sizeof err);
            (void)ignored;
            _exit(127);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // EOF without data: exec succeeded (the pipe closed on exec).
    int err = 0;
    ssize_t got;
    do {
        got = read(report[0], &err, sizeof err);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == 0;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::GetHostExecutableFolder(std::string& out)
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    out = n > 0 ? X11FolderOf(std::string(path, static_cast<size_t>(n))) : std::string();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::GetModuleFolder(std::string& out)
{
    out.clear();
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&X11FolderOf), &info) == 0 || info.dli_fname == nullptr)
        return;
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) != nullptr)
        out = X11FolderOf(resolved);
    else
        out = X11FolderOf(info.dli_fname);
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::GetDesktopFolder(std::string& out)
{
    out.clear();
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return;
    std::string desktop = std::string(home) + "/Desktop";
    out = IsDirectory(desktop) ? desktop + "/" : std::string(home) + "/";
}

//------------------------------------------------------------------------
bool IEditorSurfaceX11::OpenWebAddress(const char* url, const char* /*caption*/, const char* confirm,
                                       const char* /*failure*/)
{
    // No message boxes here: an address that asks for a confirmation first
    // is not opened unasked, and a failure is reported by the result alone.
    if (confirm != nullptr)
        return false;
    return X11StartOpener(url);
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::AskForFile(std::string& fileName, int /*action*/, std::string& /*folder*/,
                                   const char* /*extensions*/)
{
    if (!IsWindowOpen())
        fileName.clear();
}
