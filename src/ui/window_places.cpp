#include "window_places.h"

#include "user_stores.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace yalmera::ui {

namespace {

class PlaceKeeper : public QObject
{
public:
    PlaceKeeper(QWidget& window, QString name, UserChoices& choices)
        : QObject(&window), m_window(window), m_name(std::move(name)), m_choices(choices)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_choices.setWindowPlace(m_name, m_window.saveGeometry());
        return false;
    }

private:
    QWidget& m_window;
    QString m_name;
    UserChoices& m_choices;
};

} // namespace

QRect firstPlace(QSize frame, const QRect& mainFrame, const QRect& screen)
{
    frame = frame.boundedTo(screen.size());
    QRect place(QPoint(), frame);
    if (mainFrame.right() + frame.width() <= screen.right())
        place.moveTopLeft({mainFrame.right() + 1, mainFrame.top()});
    else if (mainFrame.left() - frame.width() >= screen.left())
        place.moveTopLeft({mainFrame.left() - frame.width(), mainFrame.top()});
    else
        place.moveCenter(mainFrame.center());
    // Within the screen: the window's caption and edges can be reached.
    place.moveLeft(std::clamp(place.left(), screen.left(), screen.right() - frame.width() + 1));
    place.moveTop(std::clamp(place.top(), screen.top(), screen.bottom() - frame.height() + 1));
    return place;
}

void keepPlace(QWidget& window, const QString& name, UserChoices& choices, const QWidget& main)
{
    // Qt puts a place on a screen that is gone, or off every screen, back on one.
    if (!window.restoreGeometry(choices.windowPlace(name)) && main.screen()) {
        // Not shown yet, the window has no frame: it will get one as wide as the main window's.
        const QRect inner = main.geometry();
        const QRect outer = main.frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        // As large as its contents need, which a system's wider face can make more than its size.
        const QSize size = window.size().expandedTo(window.minimumSizeHint());
        const QRect place = firstPlace(size.grownBy(frame), outer, main.screen()->availableGeometry());
        window.resize(place.size().shrunkBy(frame));
        window.move(place.topLeft()); // the frame's place
    }
    window.installEventFilter(new PlaceKeeper(window, name, choices));
}

} // namespace yalmera::ui
