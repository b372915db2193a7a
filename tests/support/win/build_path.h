// Files of the build machine as the tests under Wine name them.
#pragma once

#include <string>
#include <string_view>

namespace portmaven::win::test_support {

// The Windows path of a file of the build machine ("/tmp/x" is "Z:\tmp\x"): Wine maps "/" to
// Z:. The build passes its paths in ASCII.
std::wstring BuildFilePath(std::string_view unixPath);
std::wstring BuildFilePath(std::wstring_view unixPath);

} // namespace portmaven::win::test_support
