#pragma once

#include "platform/services/files.h"

#include <QStringList>

namespace tavren::view::qt {

// The open-file dialog: Qt's own file dialog, modal over the active window,
// starting in the current directory. A typed name of a file that does not exist is
// accepted as it is (the caller's read then fails as for any unreadable file).
class QtOpenDialog : public services::OpenDialog {
public:
    std::optional<std::string>
    chooseFile(const std::vector<services::FileFilter>& filters) override;
};

// The dialog's name filters: "description (pattern pattern)", in order, with
// "*.*" read as every file, as it is meant. The dialog shows only the
// descriptions.
QStringList nameFilters(const std::vector<services::FileFilter>& filters);

} // namespace tavren::view::qt
