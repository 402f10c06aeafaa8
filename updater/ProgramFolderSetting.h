#pragma once

#include <QString>

// The installation folder that Zlv records for its user at every start (setting PfadZurExe in the
// section "Setting" of the settings store "TalbrinZlv").
namespace ProgramFolderSetting {
// The user's settings file of Zlv.
QString defaultFilePath();
// The recorded folder, or empty when the file, the section or the key is missing. Section names
// match without regard to letter case, as Zlv matches them.
QString read(const QString& settingsFile);
} // namespace ProgramFolderSetting
