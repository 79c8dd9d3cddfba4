#include "plan_file_dialogs.h"

#include "ui_texts.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace yalmera::ui {

QString StandardPlanFileDialogs::initialFolder()
{
    const QString driveRoot = QStringLiteral("C:/");
    if (QDir(driveRoot).exists())
        return driveRoot;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::optional<QString> StandardPlanFileDialogs::askSavePath(QWidget* parent)
{
    // QFileDialog asks before replacing an existing file.
    const QString path = QFileDialog::getSaveFileName(
        parent, texts::saveDialogTitle(), QDir(initialFolder()).filePath(texts::defaultPlanFileName()),
        texts::planFileFilter());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> StandardPlanFileDialogs::askOpenPath(QWidget* parent)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, QString(), initialFolder(), texts::planFileFilter());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace yalmera::ui
