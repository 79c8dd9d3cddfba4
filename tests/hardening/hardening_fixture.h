#pragma once

// Shared by the hardening tests: a snapshot of the plan the user has, peers on pseudo-terminals
// (the virtual station in this process or as its own program, and a scripted peer with exact
// timing), and helpers for files.

#include "common/qt_printers.h"
#include "files/plan_file.h"
#include "image/app_state.h"
#include "image/data_check.h"
#include "link/exchange_report.h"
#include "link/link_fixture.h"
#include "station/station_server.h"
#include "station/virtual_station.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

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

// The virtual station on its own pseudo-terminal, served by a thread of the test.
using StationThread = test::StationOnPty;

// The virtual station as a program of its own (yalmera-station --pty), so that it can be killed
// in the middle of an exchange. It ends when its standard input closes.
class StationProcess
{
public:
    explicit StationProcess(const QStringList& options = {})
    {
        m_process.start(QStringLiteral(YALMERA_STATION),
                        QStringList{QStringLiteral("--pty"), QStringLiteral("--stdin-quit")} + options);
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~StationProcess()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    StationProcess(const StationProcess&) = delete;
    StationProcess& operator=(const StationProcess&) = delete;

    QString path() const { return m_path; }
    // The station vanishes at once: the pseudo-terminal closes with the process.
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QString m_path;
};

// A peer on a pseudo-terminal that, once the read command arrives, sends its parts one after the
// other, each after its own pause.
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
        QString error;
        if (auto pty = station::openPty(&error))
            m_pty = *pty;
        if (m_pty.master < 0)
            return;
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
        station::closePty(m_pty);
    }
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    bool ok() const { return m_pty.master >= 0; }
    QString path() const { return m_pty.slavePath; }

private:
    void serve()
    {
        for (int round = 0; round < m_rounds; ++round) {
            if (!answerOneCommand())
                return;
        }
        if (m_hangUp)
            station::closePty(m_pty);
    }
    bool answerOneCommand()
    {
        pollfd fd{m_pty.master, POLLIN, 0};
        if (poll(&fd, 1, 5000) <= 0)
            return false;
        char command = 0;
        if (::read(m_pty.master, &command, 1) != 1)
            return false;
        for (const Part& part : m_parts) {
            std::this_thread::sleep_for(part.pauseBefore);
            qsizetype done = 0;
            while (done < part.bytes.size()) {
                const ssize_t n = ::write(m_pty.master, part.bytes.constData() + done,
                                          static_cast<size_t>(part.bytes.size() - done));
                if (n <= 0)
                    return false;
                done += n;
            }
        }
        return true;
    }

    std::vector<Part> m_parts;
    int m_rounds = 1;
    bool m_hangUp = false;
    station::Pty m_pty;
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
