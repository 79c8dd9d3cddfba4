#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace yalmera::ui {

// Where the user guide (docs/руководство.md) is read from: the program's own resources, with its
// pictures beside it.
QStringList guideLocations();

// The user guide, shown from its Markdown text inside the program: it needs neither a browser nor
// a network, on any system. Links to web pages open in the browser. Its pictures are named
// relative to the folder the text was read from (screenshots/...), where they are looked for.
class GuideWindow : public QWidget
{
    Q_OBJECT

public:
    GuideWindow(const QString& markdown, const QString& folder, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

// "О программе": the version, the licence, the Qt the program runs on, and the folders where it
// keeps the exchange journal, the copies of plans read from stations and of unsaved plans.
QString aboutText(const QString& journalPath, const QString& recoveryFolder);

} // namespace yalmera::ui
