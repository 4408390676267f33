// Date texts in the Japanese general date format: "yyyy/MM/dd H:mm:ss" in local time, the
// date alone at exactly midnight.
#pragma once

#include <ctime>
#include <string>

namespace vendil {

std::string GeneralDateText(std::time_t when);
std::string GeneralDateTextNow();

}  // namespace vendil
