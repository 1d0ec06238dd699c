#pragma once
// Saves a part of the X screen that Wine draws on as a PNG file under
// $QL_BIN_DIR/../screenshots/, through xwd and ImageMagick's convert.
#include <windows.h>
#include <string>

// False when not running under Wine or when the capture failed.
bool SaveScreenshot(const RECT& area, const std::string& fileName);
