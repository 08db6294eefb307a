#pragma once

#include <string>
#include <vector>

#include "platform/RgbaImage.h"

// The game's window icon: one picture per size the asset manifest lists, read from `folder`
// (empty: the working directory). A file that is missing, broken or too large for an icon is
// left out, and the first such file is named in one line on standard error (with the count of
// any others): the icon is a nicety, never a reason to stop.
std::vector<platform::RgbaImage> loadWindowIcon(const std::string& folder = "");
