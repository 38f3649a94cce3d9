// The user's temporary directory, where the scene's model and skin are written.
#pragma once

#include <string>

// The directory with its trailing separator, or an empty string when the
// system cannot report it.
std::string ReadTempDirectory();
