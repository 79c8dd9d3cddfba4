#include "plan_file_dialogs.h"

#include "ui_texts.h"
#include "user_stores.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace yalmera::ui {

QString StandardPlanFileDialogs::initialFolder() const
{
    // The root of drive C: (where plans were once kept) is not offered: users may not create
    // files there on today's Windows.
    for (const QString& folder :
         {m_choices.planFolder(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

std::optional<QString> StandardPlanFileDialogs::chosen(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    m_choices.setPlanFolder(QFileInfo(path).absolutePath());
    return path;
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
            return chosen(path);
        // A new file is created only when the user agrees; otherwise the dialog comes back.
        const auto answer =
            QMessageBox::question(parent, texts::ui::SaveDialogTitle.toString(),
                                  texts::ui::CreateFileQuestion.toString().arg(QFileInfo(path).fileName()));
        if (answer == QMessageBox::Yes)
            return chosen(path);
        proposed = path;
    }
}

std::optional<QString> StandardPlanFileDialogs::askOpenPath(QWidget* parent)
{
    return chosen(QFileDialog::getOpenFileName(parent, texts::ui::OpenDialogTitle.toString(), initialFolder(),
                                               texts::ui::PlanFileFilter.toString()));
}

std::optional<QString> StandardPlanFileDialogs::askCsvSavePath(QWidget* parent)
{
    // QFileDialog itself asks before replacing an existing file.
    return chosen(
        QFileDialog::getSaveFileName(parent, texts::ui::CsvExportTitle.toString(),
                                     QDir(initialFolder()).filePath(texts::ui::DefaultCsvFileName.toString()),
                                     texts::ui::CsvFileFilter.toString()));
}

std::optional<QString> StandardPlanFileDialogs::askCsvOpenPath(QWidget* parent)
{
    return chosen(QFileDialog::getOpenFileName(parent, texts::ui::CsvImportTitle.toString(), initialFolder(),
                                               texts::ui::CsvFileFilter.toString()));
}

} // namespace yalmera::ui
