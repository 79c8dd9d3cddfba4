#include "menu_items.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolTip>

namespace yalmera::ui {

namespace {

class MenuBarHints : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* bar = static_cast<QMenuBar*>(watched);
        const auto* help = static_cast<QHelpEvent*>(event);
        QAction* action = bar->actionAt(help->pos());
        // Only an item with a hint of its own (setHint gives both); an item's tool tip is its
        // caption otherwise.
        if (action && !action->statusTip().isEmpty())
            QToolTip::showText(help->globalPos(), action->toolTip(), bar);
        else
            QToolTip::hideText();
        return true;
    }
};

} // namespace

QString withKey(QStringView text, char16_t key)
{
    QString caption = text.toString();
    const qsizetype at = caption.indexOf(QChar(key));
    Q_ASSERT(at >= 0);
    if (at >= 0)
        caption.insert(at, u'&');
    return caption;
}

QAction* addItem(QMenu* menu, const QString& name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void setHint(QAction* action, const QString& hint)
{
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

void showHintsOnBar(QMenuBar* bar)
{
    bar->installEventFilter(new MenuBarHints(bar));
}

} // namespace yalmera::ui
