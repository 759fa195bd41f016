#include "qt_open_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace tavren::view::qt {

namespace {

// "*.*" means every file where these filters come from; here it would hide
// every name without a dot.
QString patternOfThisSystem(const std::string& pattern) {
    return pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern);
}

} // namespace

QStringList nameFilters(const std::vector<services::FileFilter>& filters) {
    QStringList result;
    for (const services::FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& p : filter.patterns) {
            const QString pattern = patternOfThisSystem(p);
            if (!patterns.contains(pattern)) patterns << pattern;
        }
        result << QString::fromStdString(filter.description) + QStringLiteral(" (") +
                      patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

std::optional<std::string>
QtOpenDialog::chooseFile(const std::vector<services::FileFilter>& filters) {
    QFileDialog dialog(QApplication::activeWindow());
    // Any name, not only existing files: what happens with a missing one is the
    // caller's business, and the button still says "Open".
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A desktop's native dialog may insist on an existing file in open mode.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The user sees each description exactly as given; the patterns that Qt
    // needs after it stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDirectory(QDir::current());
    const QStringList names = nameFilters(filters);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        dialog.selectNameFilter(names.first());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.first()).toStdString();
}

} // namespace tavren::view::qt
