#include "FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace vorlane {

namespace {

std::shared_ptr<FileChooser> &installedChooser()
{
    static std::shared_ptr<FileChooser> chooser;
    return chooser;
}

// "Excel 工作簿 (*.xlsx)" -> "xlsx"
QString suffixOfFilter(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

FileChooser &fileChooser()
{
    if (const auto &installed = installedChooser())
        return *installed;
    static DialogFileChooser fallback;
    return fallback;
}

std::shared_ptr<FileChooser> setFileChooser(std::shared_ptr<FileChooser> chooser)
{
    std::shared_ptr<FileChooser> previous = std::move(installedChooser());
    installedChooser() = std::move(chooser);
    return previous;
}

QString DialogFileChooser::chooseSaveFile(QWidget *parent,
                                          const QString &caption,
                                          const QString &suggestedPath,
                                          const QStringList &filters)
{
    QFileDialog dialog(parent, caption, suggestedPath, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(suffixOfFilter(filters.value(0)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &f) {
        dialog.setDefaultSuffix(suffixOfFilter(f));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace vorlane
