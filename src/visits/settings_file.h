// settings.ini in the program folder: the last visit, the reminder and the two start-up switches.
#pragma once
#include <optional>
#include <string>

namespace modINI {

// Reads the file into the program-wide settings, creating it with defaults when it is missing,
// and rewrites it in its canonical form after every complete read.
void LoadSettings();

// Rewrites the whole file from the settings; false when it could not be written.
bool SaveSettings();

// The path of settings.ini in the program folder.
std::string SettingsPath();

// What the client reads when a change could not be saved: it holds until the program ends.
std::string NotSavedMessage();

// The nine lines of the file for the current settings.
std::string SettingsFileText();

// A whole number as the file holds it: decimal, 16 bits signed, blanks around it tolerated.
std::optional<int16_t> ParseSettingNumber(const std::string& text);

}  // namespace modINI
