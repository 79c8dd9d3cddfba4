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

class UserChoices;

// The platform's file dialogs, starting in the folder of the plans last used (the documents
// folder the first time, or the home folder where there is none). A file chosen makes its folder
// the one the next dialog starts in. They leave the process's current folder alone.
class StandardPlanFileDialogs : public PlanFileDialogs
{
public:
    explicit StandardPlanFileDialogs(UserChoices& choices) : m_choices(choices) {}

    std::optional<QString> askSavePath(QWidget* parent) override;
    std::optional<QString> askOpenPath(QWidget* parent) override;
    std::optional<QString> askCsvSavePath(QWidget* parent) override;
    std::optional<QString> askCsvOpenPath(QWidget* parent) override;

    // Always a folder that exists: a dialog given a path that does not exist takes its last
    // part for a file name (a home without "Documents" had "Documents" typed in as the file).
    QString initialFolder() const;

private:
    std::optional<QString> chosen(const QString& path);

    UserChoices& m_choices;
};

} // namespace yalmera::ui
