#include "plan_file_dialogs.h"

#include "ui_texts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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
    QString proposed = QDir(initialFolder()).filePath(texts::ui::DefaultPlanFileName.toString());
    for (;;) {
        // QFileDialog itself asks before replacing an existing file.
        const QString path = QFileDialog::getSaveFileName(parent, texts::ui::SaveDialogTitle.toString(),
                                                          proposed, texts::ui::PlanFileFilter.toString());
        if (path.isEmpty())
            return std::nullopt;
        if (QFileInfo::exists(path))
            return path;
        // A new file is created only when the user agrees; otherwise the dialog comes back.
        const auto answer =
            QMessageBox::question(parent, texts::ui::SaveDialogTitle.toString(),
                                  texts::ui::CreateFileQuestion.toString().arg(QFileInfo(path).fileName()));
        if (answer == QMessageBox::Yes)
            return path;
        proposed = path;
    }
}

std::optional<QString> StandardPlanFileDialogs::askOpenPath(QWidget* parent)
{
    const QString path = QFileDialog::getOpenFileName(parent, texts::ui::OpenDialogTitle.toString(),
                                                      initialFolder(), texts::ui::PlanFileFilter.toString());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> StandardPlanFileDialogs::askCsvSavePath(QWidget* parent)
{
    // QFileDialog itself asks before replacing an existing file.
    const QString path =
        QFileDialog::getSaveFileName(parent, texts::ui::CsvExportTitle.toString(),
                                     QDir(initialFolder()).filePath(texts::ui::DefaultCsvFileName.toString()),
                                     texts::ui::CsvFileFilter.toString());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> StandardPlanFileDialogs::askCsvOpenPath(QWidget* parent)
{
    const QString path = QFileDialog::getOpenFileName(parent, texts::ui::CsvImportTitle.toString(),
                                                      initialFolder(), texts::ui::CsvFileFilter.toString());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace yalmera::ui
