#pragma once
// The one fixed folder of the fax libraries: connection logs, the converter's scratch
// TIFFs. It is $TOLVY_ROOT when set and not empty, else /tmp, so that tests and several
// users on one machine can keep their files apart.

#include <string>

namespace vestrel::fax {

std::string TolvyRoot();
// TolvyRoot() + "/" + name.
std::string TolvyPath(const std::string& name);

}  // namespace vestrel::fax
