#pragma once
// The checks made on a DXF file's group stream before dxflib reads it: dxflib trusts counts that
// it uses to size arrays and reads a file without its end as a complete drawing.
#include <functional>
#include <string>
#include <string_view>

namespace xomplot::dxf {

// False with the reason when the text is not a complete ASCII DXF group stream that dxflib may
// read safely. version receives $ACADVER when present; each group goes to `group` (when given)
// as the check passes it.
using GroupVisitor = std::function<void(int code, std::string_view value)>;
bool CheckGroups(const std::string& text, std::string& version, std::string& error,
                 const GroupVisitor& group = {});

}  // namespace xomplot::dxf
