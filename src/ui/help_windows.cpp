#include "help_windows.h"

#include "ui_texts.h"

#include "files/journal.h"
#include "model/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace yalmera::ui {

namespace {

const QString GuideName = QStringLiteral("руководство.md");
constexpr QSize GuideSize{760, 600}; // px

} // namespace

QStringList guideLocations()
{
    return {QStringLiteral(":/guide/") + GuideName};
}

GuideWindow::GuideWindow(const QString& markdown, const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(texts::ui::GuideCaption.toString());
    m_browser->setObjectName(QStringLiteral("GuideText"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({folder});
#if QT_CONFIG(textmarkdownreader)
    m_browser->setMarkdown(markdown);
#else
    m_browser->setPlainText(markdown);
#endif
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(GuideSize);
}

QString aboutText(const QString& journalPath, const QString& recoveryFolder)
{
    return texts::ui::AboutText.toString().arg(
        QString::fromLatin1(ProgramVersion), QString::fromLatin1(qVersion()),
        QDir::toNativeSeparators(journalPath), QDir::toNativeSeparators(files::backupFolder(journalPath)),
        QDir::toNativeSeparators(recoveryFolder));
}

} // namespace yalmera::ui
