#pragma once

// Line peers and a recording observer shared by the link tests.

#include "common/qt_printers.h"
#include "common/station_peers.h"
#include "common/stream_fixture.h"
#include "image/device_image.h"
#include "link/exchange_report.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

namespace yalmera::test {

// Everything an exchange reports, in order.
class RecordingObserver : public ExchangeObserver
{
public:
    void gaugeChanged(int value) override
    {
        gauges.push_back(value);
        events << QStringLiteral("gauge %1").arg(value);
    }
    void statusChanged(const QString& text) override
    {
        statuses << text;
        events << QStringLiteral("status ") + text;
    }
    void buttonsChanged(const LinkButtons& b) override
    {
        buttons.push_back(b);
        events << QStringLiteral("buttons %1%2%3").arg(int(b.exit)).arg(int(b.write)).arg(int(b.read));
    }

    std::vector<int> gauges;
    QStringList statuses;
    std::vector<LinkButtons> buttons;
    QStringList events;
};

} // namespace yalmera::test
