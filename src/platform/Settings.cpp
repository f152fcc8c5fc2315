#include "Settings.h"

namespace platform {

std::unique_ptr<QSettings> ProgramSettings()
{
    return std::make_unique<QSettings>(
        QStringLiteral("Veltrane"), QStringLiteral("PX10 Windows Support Tool"));
}

} // namespace platform
