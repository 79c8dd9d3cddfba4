#include "help_menu.h"

#include "help_windows.h"
#include "journal_window.h"
#include "menu_items.h"
#include "ui_texts.h"
#include "user_feedback.h"
#include "user_stores.h"
#include "window_places.h"

#include "files/journal.h"
#include "files/whole_file.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include <algorithm>

namespace yalmera::ui {

namespace {

// The user guide is about 25 KB; a file far larger is no guide.
constexpr qint64 MaxGuideBytes = 1024 * 1024;

} // namespace

HelpMenu::HelpMenu(UserInterfaceFeedback& feedback, PlanFileDialogs& dialogs, UserStores& stores,
                   QMainWindow& window)
    : QObject(&window), m_feedback(feedback), m_dialogs(dialogs), m_stores(stores), m_window(window),
      m_journalPath(files::defaultJournalPath)
{
}

HelpMenu::~HelpMenu() = default;

void HelpMenu::addTo(QMenuBar* bar)
{
    QMenu* help = bar->addMenu(withKey(texts::ui::HelpMenu, u'С'));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->setToolTipsVisible(true);
    QAction* guide = addItem(help, QStringLiteral("GuideItem"), withKey(texts::ui::GuideItem, u'Р'));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    guide->setIcon(m_window.style()->standardIcon(QStyle::SP_DialogHelpButton));
    QAction* journal = addItem(help, QStringLiteral("JournalItem"), withKey(texts::ui::JournalItem, u'Ж'));
    setHint(journal, texts::ui::JournalHint.toString());
    QAction* about = addItem(help, QStringLiteral("AboutItem"), withKey(texts::ui::AboutItem, u'О'));
    connect(guide, &QAction::triggered, this, &HelpMenu::showGuide);
    connect(journal, &QAction::triggered, this, &HelpMenu::showJournal);
    connect(about, &QAction::triggered, this, &HelpMenu::showAbout);
}

void HelpMenu::hideWindows()
{
    if (m_guide)
        m_guide->hide();
    if (m_journal)
        m_journal->hide();
}

void HelpMenu::showGuide()
{
    if (!m_guide) {
        const QStringList places = guideLocations();
        const auto found = std::find_if(places.begin(), places.end(),
                                        [](const QString& place) { return QFileInfo(place).isFile(); });
        const WholeFileRead read =
            found == places.end() ? WholeFileRead{} : readWholeFile(*found, MaxGuideBytes);
        if (!read.bytes) {
            QStringList shown;
            for (const QString& place : places)
                shown.append(QDir::toNativeSeparators(place));
            m_feedback.show(UserMessage::failure(texts::ui::GuideMissing.toString().arg(shown.join(u'\n'))),
                            &m_window);
            return;
        }
        m_guide =
            new GuideWindow(QString::fromUtf8(*read.bytes), QFileInfo(*found).absolutePath(), &m_window);
        keepPlace(*m_guide, QStringLiteral("guide"), m_stores.choices, m_window);
    }
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
}

void HelpMenu::showJournal()
{
    // The journal the station-link window writes, which a test or the environment may change.
    if (m_journal && m_journal->journalPath() != m_journalPath())
        m_journal.reset();
    if (!m_journal) {
        m_journal = std::make_unique<JournalWindow>(m_journalPath(), m_feedback, m_dialogs);
        // The program ends with the main window, not with this one.
        m_journal->setAttribute(Qt::WA_QuitOnClose, false);
        keepPlace(*m_journal, QStringLiteral("journal"), m_stores.choices, m_window);
        connect(m_journal.get(), &JournalWindow::planOpenRequested, this, &HelpMenu::planOpenRequested);
    }
    m_journal->show();
    m_journal->raise();
    m_journal->activateWindow();
}

void HelpMenu::showAbout()
{
    m_feedback.show(UserMessage::notice(aboutText(m_journalPath(), m_stores.recovery.folder())), &m_window);
}

} // namespace yalmera::ui
