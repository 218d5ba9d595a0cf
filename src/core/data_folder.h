// Where the program's data files (Demo.sp, the settings file, the header
// description texts) are found, given the folder of the running executable.
#pragma once

#include <string>

namespace halvorn {

// The installed data files live in share/halvorn beside the bin folder that
// holds the executable.
inline constexpr const char* kInstalledDataFolder = "../share/halvorn";

// The folder that holds the data files: executableFolder itself when
// Demo.sp is there (the build folder), otherwise
// executableFolder/../share/halvorn when Demo.sp is there (an installed
// program; returned without the "..", with symbolic links resolved),
// otherwise executableFolder unchanged, so that a missing demonstration file
// is reported where the program has always looked for it.
std::string DataFolderFor(const std::string& executableFolder);

}  // namespace halvorn
