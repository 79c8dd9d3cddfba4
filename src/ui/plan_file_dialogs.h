#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace yalmera::ui {

// Where "Запись в файл", "Чтение файла", "Экспорт CSV" and "Импорт CSV" get their paths. Tests
// script the answers so the commands' own code runs unchanged.
class PlanFileDialogs
{
public:
    virtual ~PlanFileDialogs() = default;

    // The file to write, after the user confirmed replacing an existing one; nothing on cancel.
    virtual std::optional<QString> askSavePath(QWidget* parent) = 0;
    // An existing file to read; nothing on cancel.
    virtual std::optional<QString> askOpenPath(QWidget* parent) = 0;
    // The same for spreadsheet files of the channel table.
    virtual std::optional<QString> askCsvSavePath(QWidget* parent) = 0;
    virtual std::optional<QString> askCsvOpenPath(QWidget* parent) = 0;
};

// The platform's file dialogs, starting in "C:\" where it exists and in the documents folder
// otherwise. They leave the process's current folder alone.
class StandardPlanFileDialogs : public PlanFileDialogs
{
public:
    std::optional<QString> askSavePath(QWidget* parent) override;
    std::optional<QString> askOpenPath(QWidget* parent) override;
    std::optional<QString> askCsvSavePath(QWidget* parent) override;
    std::optional<QString> askCsvOpenPath(QWidget* parent) override;

    static QString initialFolder();
};

} // namespace yalmera::ui
