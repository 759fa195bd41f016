#pragma once

#include "platform/services/files.h"

namespace tavren::view::win32 {

// The common "open" dialog, owned by the active window. The user may type the
// name of a file that does not exist yet.
class Win32OpenDialog : public services::OpenDialog {
public:
    std::optional<std::string>
    chooseFile(const std::vector<services::FileFilter>& filters) override;
};

// The dialog's filter text: each filter's description and its patterns joined by
// ';', every part ended by a NUL and the whole by one more.
std::wstring openDialogFilterText(const std::vector<services::FileFilter>& filters);

} // namespace tavren::view::win32
