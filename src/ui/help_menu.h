#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QMainWindow;
class QMenuBar;

namespace yalmera::ui {

class GuideWindow;
class JournalWindow;
class PlanFileDialogs;
class UserInterfaceFeedback;
struct UserStores;

// "Справка": the user guide, the exchange journal and "О программе". The guide and the journal
// are windows of their own, made when first asked for and hidden with the main window.
//
// Component names (objectName): HelpMenu "Справка" with GuideItem, JournalItem, AboutItem.
class HelpMenu : public QObject
{
    Q_OBJECT

public:
    HelpMenu(UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs, UserStores& stores,
             QMainWindow& window);
    ~HelpMenu() override;

    void addTo(QMenuBar* bar);
    // The exchange journal "Журнал обмена" and "О программе" name (the station-link window's).
    void setJournalPathSource(std::function<QString()> source) { m_journalPath = std::move(source); }
    GuideWindow* guideWindow() const { return m_guide; }
    JournalWindow* journalWindow() const { return m_journal.get(); }
    // The main window closes: the guide and the journal go with it, their places kept.
    void hideWindows();

signals:
    // A row of the journal names a plan file to open.
    void planOpenRequested(const QString& path);

private:
    void showGuide();
    void showJournal();
    void showAbout();

    UserInterfaceFeedback& m_feedback;
    PlanFileDialogs& m_dialogs;
    UserStores& m_stores;
    QMainWindow& m_window;
    GuideWindow* m_guide = nullptr;
    // A window of its own, not the main window's child: it stays usable while an exchange holds
    // the main window and stays up while the main window is minimised.
    std::unique_ptr<JournalWindow> m_journal;
    std::function<QString()> m_journalPath;
};

} // namespace yalmera::ui
