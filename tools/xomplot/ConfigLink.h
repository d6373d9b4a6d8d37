#pragma once
// "xomplot config link NAME ADDRESS [--community C]": asks the printer at ADDRESS who it is and
// stores its address, name, description, location, MAC address and community in the
// configuration NAME, as the connect dialog's OK does.
#include <cstdio>
#include <string>

namespace xomplot {

// Exit status 0; 1 when the printer does not answer or the configuration cannot be written; 64
// for an address that is not an IPv4 or IPv6 address.
int ConfigLink(const std::string& driverPath, const std::string& name, const std::string& address,
               const std::string& community, std::FILE* out, std::FILE* err);

}  // namespace xomplot
