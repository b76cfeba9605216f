// Stored reference pictures: a rendered picture is compared with a binary PPM kept under tests/.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/ports.h"

namespace kesmir::testing {

// Places the pictures side by side and compares them with tests/<name>.ppm: empty when they match, else
// what differs. With KESMIR_UPDATE_REFERENCES=1 in the environment the stored picture is rewritten instead.
std::string CompareWithReference(const std::string& name, std::initializer_list<PixelView> pictures);

}  // namespace kesmir::testing
