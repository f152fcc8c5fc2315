#pragma once
// The program's stored settings: one place that names where they live, in
// place of the registry key Software\Veltrane\PX10 Windows Support Tool.
// Tests point QSettings at a temporary folder.
#include <QSettings>

#include <memory>

namespace platform {

std::unique_ptr<QSettings> ProgramSettings();

} // namespace platform
