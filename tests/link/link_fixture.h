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

// Line n of a message: a link failure's first is the serial layer's text or the system's, its
// second the port, the step and what to do.
inline QString lineOf(const UserMessage& message, int n)
{
    return message.text.section(u'\n', n, n);
}

// Everything an exchange reports, in order.
class RecordingObserver : public ExchangeObserver
{
public:
    void gaugeChanged(int value) override
    {
        gauges.push_back(value);
        events << QStringLiteral("gauge %1").arg(value);
    }
    void phaseChanged(ExchangePhase phase) override
    {
        phases.push_back(phase);
        events << QStringLiteral("phase ") + phaseName(phase);
    }

    void latencyNoticed(const LatencyNotice& notice) override
    {
        notices.push_back(notice);
        events << QStringLiteral("latency");
    }

    static QString phaseName(ExchangePhase phase)
    {
        static const char* const Names[] = {"Idle", "Writing", "ReadRequest", "Reading", "NoAnswer"};
        return QString::fromLatin1(Names[static_cast<int>(phase)]);
    }

    std::vector<int> gauges;
    std::vector<ExchangePhase> phases;
    std::vector<LatencyNotice> notices;
    QStringList events;
};

} // namespace yalmera::test
