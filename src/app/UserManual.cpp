#include "UserManual.h"

#include "Exception.h"
#include "Ivdictio.h"

#include <sys/stat.h>

namespace {

bool IsFile(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string WithSlash(const std::string& dir)
{
    return dir.empty() || dir.back() == '/' ? dir : dir + "/";
}

} // namespace

std::string FindUserManual(const std::string& programDir)
{
    const std::string dir = WithSlash(programDir);
    const std::string named = Translate("UserManualFilenamePX10");
    // A dictionary name is a file name, never a way out of the folder.
    if (!named.empty() && named.find('/') == std::string::npos && IsFile(dir + named))
        return dir + named;
    if (IsFile(dir + "412-905-000.pdf"))
        return dir + "412-905-000.pdf";
    throw Exception("User Manual not present");
}

void OpenUserManual(const std::string& path, const std::function<bool(const std::string&)>& open)
{
    // The system's viewer takes the place of the Acrobat Reader check: when
    // none opens the file, the user learns that a reader is needed.
    if (!open(path))
        throw Exception("To view the User Manual, Adobe Acrobat Reader MUST be installed");
}
