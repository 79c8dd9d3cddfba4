#pragma once

// Shared by the hardening tests: a snapshot of the plan the user has, line peers (the virtual
// station served by the test or as its own program, and a scripted peer with exact timing), and
// helpers for files.

#include "common/qt_printers.h"
#include "files/plan_file.h"
#include "image/data_check.h"
#include "link/exchange_report.h"
#include "link/link_fixture.h"
#include "session/app_state.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

namespace yalmera::hardening {

// Everything of the program's state that a refused input or a failed exchange must leave alone.
struct PlanSnapshot
{
    GeneralSettings settings;
    ChannelTable table;
    bool tableCreated = false;
    StationType stationType;
    quint8 moduleType = 0;
    DeviceImage image;
    bool dataChecked = false;
    std::uint64_t planRevision = 0;

    static PlanSnapshot of(const AppState& state)
    {
        return {state.settings(),
                state.table(),
                state.tableCreated(),
                state.stationType(),
                moduleCode(state.moduleType()),
                state.image(),
                state.dataChecked(),
                state.planRevision()};
    }
    friend bool operator==(const PlanSnapshot&, const PlanSnapshot&) = default;
};

inline QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The last thing an exchange reported, as the window would be left showing it.
class LastReport : public ExchangeObserver
{
public:
    void gaugeChanged(int value) override { gauge = value; }
    void phaseChanged(ExchangePhase p) override { phase = p; }
    // The window takes input again once the exchange is over, whether or not it kept its station.
    bool ended() const { return phase == ExchangePhase::Idle || phase == ExchangePhase::NoAnswer; }

    int gauge = -1;
    ExchangePhase phase = ExchangePhase::Writing;
};

// The virtual station on its own line, served by the test; and as a program of its own.
using StationThread = test::StationOnPty;
using test::StationProcess;

// A peer that, once the read command arrives, sends its parts one after the other, each after its
// own pause.
class ScriptedPeer
{
public:
    struct Part
    {
        std::chrono::milliseconds pauseBefore;
        QByteArray bytes;
    };

    // rounds: how many read commands are answered with the same parts. hangUp: the peer closes
    // its side after the last part, as a station that is switched off.
    explicit ScriptedPeer(std::vector<Part> parts, int rounds = 1, bool hangUp = false)
        : m_parts(std::move(parts)), m_rounds(rounds), m_hangUp(hangUp)
    {
        if (m_line.ok())
            m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    bool ok() const { return m_line.ok(); }
    QString path() const { return m_line.path(); }

private:
    void serve()
    {
        for (int round = 0; round < m_rounds; ++round) {
            if (m_line.receive(1, 5000).isEmpty())
                return;
            for (const Part& part : m_parts) {
                std::this_thread::sleep_for(part.pauseBefore);
                m_line.send(part.bytes);
            }
        }
        if (m_hangUp)
            m_line.hangUp();
    }

    std::vector<Part> m_parts;
    int m_rounds = 1;
    bool m_hangUp = false;
    test::TestPty m_line;
    std::thread m_thread;
};

// A plan from the template that passed the data check, so that the image and the gate are set.
inline AppState checkedTemplateState(int channels, const QString& startKHz = QStringLiteral("145000"),
                                     const QString& stepKHz = QStringLiteral("12,5"))
{
    AppState state;
    TemplateFields fields;
    fields.count = QString::number(channels);
    fields.startKHz = startKHz;
    fields.offsetKHz = stepKHz;
    EXPECT_TRUE(state.createTemplate(fields).isEmpty());
    EXPECT_TRUE(runDataCheck(state).passed);
    return state;
}

} // namespace yalmera::hardening
