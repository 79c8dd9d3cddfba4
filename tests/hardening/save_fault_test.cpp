// Saving under faults: a folder that is missing or is a file, a read-only file or file system, a
// full disk. Whatever fails, the earlier file stays byte for byte, no stray file is left, and the
// user sees the platform's text. Covers the plan file, the image file of "yalmera-cli image",
// the protocol and the journal's lines. The cases on a small tmpfs need the right to mount; the
// others always run.
// Most faults are made with POSIX means (permission bits, a file size limit, tmpfs, /proc) and
// their texts are the C library's: those cases are Linux's. A missing folder and a file in the
// place of a folder are met everywhere. A station write whose protocol fails ends "done, but" (4).

#include "common/platform_texts.h"
#include "common/station_peers.h"
#include "hardening_fixture.h"

#include "files/journal.h"
#include "report/protocol_document.h"
#include "report/protocol_docx.h"
#include "report/protocol_file.h"
#include "report/protocol_pdf.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstring>
#include <functional>

namespace yalmera::hardening {
namespace {

// As the libraries say them, and as yalmera-cli says them in English here.
const QString NoSuchFile = test::saidInRussian(u"Нет такого файла или папки", test::noSuchFolderText());
#ifdef Q_OS_WIN
// ERROR_PATH_NOT_FOUND for a file on the way too.
const QString NoSuchFileInEnglish = QStringLiteral("No such file or directory (%1)").arg(qt_error_string(3));
const QString NotADirectory = NoSuchFile;
const QString NotADirectoryInEnglish = NoSuchFileInEnglish;
#else
const QString NoSuchFileInEnglish = test::noSuchFolderText();
const QString NotADirectory = QStringLiteral("Not a directory");
const QString NotADirectoryInEnglish = NotADirectory;
#endif

struct CliRun
{
    int exitCode = -1;
    QString err;
    bool started = true; // false: the program could not even be started
};

// yalmera-cli with the arguments, optionally with a change to the child before it starts.
CliRun runCliCommand(const QStringList& arguments, const std::function<void()>& childModifier = nullptr)
{
    QProcess process;
#ifdef Q_OS_UNIX
    if (childModifier)
        process.setChildProcessModifier(childModifier);
#else
    Q_UNUSED(childModifier);
#endif
    process.start(QStringLiteral(YALMERA_CLI), arguments);
    if (!process.waitForFinished(60000)) {
        const bool started = process.error() != QProcess::FailedToStart;
        process.kill();
        process.waitForFinished();
        return {-1, {}, started};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

CliRun runImageCommand(const QString& plan, const QString& image, const std::function<void()>& modifier = {})
{
    return runCliCommand({QStringLiteral("image"), plan, QStringLiteral("-o"), image}, modifier);
}

QString imageFailure(const QString& image, const QString& text)
{
    return QStringLiteral("yalmera-cli image: %1: %2").arg(image, text);
}

// A folder's entries, to see that a failed save leaves no temporary or half-written file.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// The pieces of one save-fault scenario: the plan of the user, an earlier plan file, an earlier
// image file and an earlier protocol in one folder.
class SaveScene
{
public:
    explicit SaveScene(const QString& folder, int channels = 99)
        : m_folder(folder),
          m_state(checkedTemplateState(channels, QStringLiteral("144000"), QStringLiteral("250")))
    {
        planPath = QDir(folder).filePath(QStringLiteral("plan.ini"));
        imagePath = QDir(folder).filePath(QStringLiteral("image.bin"));
        journalPath = QDir(folder).filePath(QStringLiteral("journal.csv"));
        earlierPlan =
            files::encodePlan(GeneralSettings(GeneralSettings::templateLines()), ChannelTable(), 0, 0);
        earlierImage = QByteArray(100, '\x14');
    }

    // Writes the earlier files; false when the folder cannot take them.
    bool writeEarlierFiles()
    {
        if (!writeFileBytes(planPath, earlierPlan) || !writeFileBytes(imagePath, earlierImage))
            return false;
        const report::SavedProtocol saved = report::saveProtocolDocx(protocol(), m_folder);
        if (!saved.error.isEmpty())
            return false;
        protocolPath = saved.path;
        earlierProtocol = readFileBytes(protocolPath);
        if (!files::appendJournal(journalPath, JournalEntry{}).isEmpty())
            return false;
        earlierJournal = readFileBytes(journalPath);
        return true;
    }

    UserMessage savePlan(const QString& path) const
    {
        return files::writePlanFile(path, m_state.settings(), m_state.table(), m_state.stationType().typeCode,
                                    moduleCode(m_state.moduleType()));
    }
    // A one-channel plan: small enough to sit whole in the file's write buffer until the end.
    UserMessage saveSmallPlan(const QString& path) const
    {
        const AppState small = checkedTemplateState(1);
        return files::writePlanFile(path, small.settings(), small.table(), 0, 0);
    }
    // A line longer than the free end of the journal's last 4 KB block, so that a full disk takes
    // a part of it.
    static JournalEntry longJournalEntry()
    {
        JournalEntry entry;
        entry.message = QString(5000, u'x');
        return entry;
    }
    UserMessage appendJournalLine() const { return files::appendJournal(journalPath, longJournalEntry()); }
    report::SavedProtocol saveProtocol(const QString& folder) const
    {
        return report::saveProtocolDocx(protocol(), folder);
    }
    // The protocol written over a file the user named (yalmera-cli protocol -o FILE).
    UserMessage writeDocx(const QString& path) const { return report::writeProtocolDocx(protocol(), path); }
    UserMessage writePdf(const QString& path) const { return report::writeProtocolPdf(protocol(), path); }

    // Every way of saving, over the earlier files; each must fail with the same platform text.
    void expectEverySaveToFail(const QString& folder, const QString& text) const
    {
        EXPECT_EQ(savePlan(planPath), UserMessage::failure(text));
        EXPECT_EQ(saveSmallPlan(planPath), UserMessage::failure(text));
        EXPECT_EQ(saveProtocol(folder).error, UserMessage::failure(text));
        EXPECT_EQ(writeDocx(protocolPath), UserMessage::failure(text));
        EXPECT_EQ(appendJournalLine(), journalFailure(text));
#ifdef YALMERA_HARDENING_WINDOWS // painting needs the application object of the desktop program
        EXPECT_EQ(writePdf(protocolPath), UserMessage::failure(text));
#endif
    }
    // The user's plan as a plan file that "yalmera-cli image" reads, kept outside the faulty folder.
    QString planSource(const QString& otherFolder) const
    {
        const QString path = QDir(otherFolder).filePath(QStringLiteral("source.ini"));
        EXPECT_TRUE(savePlan(path).isEmpty());
        return path;
    }

    void expectEarlierFilesIntact() const
    {
        EXPECT_EQ(readFileBytes(planPath), earlierPlan);
        EXPECT_EQ(readFileBytes(imagePath), earlierImage);
        if (!protocolPath.isEmpty()) {
            EXPECT_EQ(readFileBytes(protocolPath), earlierProtocol);
            EXPECT_EQ(readFileBytes(journalPath), earlierJournal);
        }
    }
    // The failure, and the line that did not get in.
    UserMessage journalFailure(const QString& text) const
    {
        return UserMessage::failure(
            QStringLiteral("Журнал обмена «%1» не записан: %2\nСтрока журнала, которая не записана:\n%3")
                .arg(QDir::toNativeSeparators(journalPath), text, files::journalLine(longJournalEntry())));
    }

    QString planPath;
    QString imagePath;
    QString protocolPath;
    QString journalPath;
    QByteArray earlierPlan;
    QByteArray earlierImage;
    QByteArray earlierProtocol;
    QByteArray earlierJournal;

private:
    report::ProtocolDocument protocol() const
    {
        return report::buildProtocolDocument(m_state, QStringLiteral("К17М-12345"));
    }

    QString m_folder;
    AppState m_state;
};

// ---- Faults any user can meet, without privileges -----------------------------------------------

TEST(SaveFaults, MissingFolderIsReportedAndNothingIsCreated)
{
    QTemporaryDir dir;
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("missing/deeper"));
    SaveScene scene(dir.path(), 1);
    const QString source = scene.planSource(dir.path());

    const UserMessage plan = scene.savePlan(missing + QStringLiteral("/plan.ini"));
    EXPECT_EQ(plan, UserMessage::failure(NoSuchFile));

    const QString image = missing + QStringLiteral("/image.bin");
    const CliRun cli = runImageCommand(source, image);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(image, NoSuchFileInEnglish));
    EXPECT_FALSE(QFileInfo::exists(missing));

    // The protocol makes its folder when it is missing.
    const report::SavedProtocol protocol = scene.saveProtocol(missing);
    EXPECT_TRUE(protocol.error.isEmpty()) << protocol.error.text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(protocol.path));
}

TEST(SaveFaults, FolderThatIsAFileIsReportedAndTheFileStays)
{
    QTemporaryDir dir;
    SaveScene scene(dir.path(), 1);
    const QString source = scene.planSource(dir.path());
    const QString blocker = QDir(dir.path()).filePath(QStringLiteral("not-a-folder"));
    ASSERT_TRUE(writeFileBytes(blocker, "keep me"));
    const QStringList before = entries(dir.path());

    EXPECT_EQ(scene.savePlan(blocker + QStringLiteral("/plan.ini")), UserMessage::failure(NotADirectory));
    const QString image = blocker + QStringLiteral("/image.bin");
    const CliRun cli = runImageCommand(source, image);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(image, NotADirectoryInEnglish));
    const report::SavedProtocol protocol = scene.saveProtocol(blocker + QStringLiteral("/protocols"));
    EXPECT_EQ(
        protocol.error,
        UserMessage::failure(QStringLiteral("Не удалось создать папку \"%1\"")
                                 .arg(QDir::toNativeSeparators(blocker + QStringLiteral("/protocols")))));

    EXPECT_EQ(readFileBytes(blocker), QByteArray("keep me"));
    EXPECT_EQ(entries(dir.path()), before);
}

#ifdef Q_OS_LINUX

const QString NoSpace = QStringLiteral("No space left on device");
const QString NoSpaceInRussian = test::saidInRussian(u"На диске нет места", NoSpace);
const QString TooLarge = QStringLiteral("File too large");

QString notWritable(const QString& path)
{
    return QStringLiteral("Existing file %1 is not writable").arg(path);
}

TEST(SaveFaults, TargetInsideProcIsRefusedAndStaysAsItWas)
{
    QTemporaryDir dir;
    SaveScene scene(dir.path(), 1);
    const QString target = QStringLiteral("/proc/version");
    const QByteArray before = readFileBytes(target);
    ASSERT_FALSE(before.isEmpty());

    const UserMessage plan = scene.savePlan(target);
    EXPECT_EQ(plan.kind, MessageKind::Failure);
    EXPECT_FALSE(plan.text.isEmpty());
    const CliRun cli = runImageCommand(scene.planSource(dir.path()), target);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_TRUE(cli.err.startsWith(QStringLiteral("yalmera-cli image: /proc/version: ")))
        << cli.err.toStdString();
    EXPECT_EQ(readFileBytes(target), before);
}

// Holds the process's file-size limit low for its lifetime: every write past it fails with EFBIG
// ("File too large"), as a full disk fails with ENOSPC, and needs no privileges.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_savedHandler);
    }
    bool ok() const { return m_ok; }

    // For a child process: the same limit, applied between fork and exec.
    static void applyInChild(rlim_t bytes)
    {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    rlimit m_saved{};
    sighandler_t m_savedHandler = SIG_DFL;
    bool m_ok = false;
};

TEST(SaveFaults, FileSizeLimitLeavesTheEarlierFilesWhole)
{
    QTemporaryDir dir;
    SaveScene scene(dir.path());
    ASSERT_TRUE(scene.writeEarlierFiles());
    const QString source = scene.planSource(dir.path());
    const QStringList before = entries(dir.path());

    // No byte may be written: a disk that is full to the last byte. The new file can still be
    // created, so the failure comes with the data, as it does on a full disk.
    const CliRun cli = runImageCommand(source, scene.imagePath, [] { FileSizeLimit::applyInChild(0); });
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(scene.imagePath, TooLarge));
    {
        FileSizeLimit limit(0);
        ASSERT_TRUE(limit.ok());
        scene.expectEverySaveToFail(dir.path(), TooLarge);
    }
    {
        // Room for a part of the journal's line only: the part is taken back.
        FileSizeLimit limit(static_cast<rlim_t>(scene.earlierJournal.size()) + 10);
        ASSERT_TRUE(limit.ok());
        EXPECT_EQ(scene.appendJournalLine(), scene.journalFailure(TooLarge));
    }
    scene.expectEarlierFilesIntact();
    EXPECT_EQ(entries(dir.path()), before);
}

TEST(SaveFaults, NameWithNoRoomForTheTemporaryNameIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    SaveScene scene(dir.path(), 1);
    const QString source = scene.planSource(dir.path());
    // 250 bytes: the file system takes the name, but not with the save's ".XXXXXX" behind it.
    const QString image = QDir(dir.path()).filePath(QString(246, u'i') + QStringLiteral(".bin"));
    ASSERT_TRUE(writeFileBytes(image, "old"));
    const QStringList before = entries(dir.path());

    const CliRun cli = runImageCommand(source, image);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(image, QStringLiteral("File name too long")));
    EXPECT_EQ(scene.savePlan(QDir(dir.path()).filePath(QString(250, u'p'))),
              UserMessage::failure(QStringLiteral("File name too long")));
    EXPECT_EQ(readFileBytes(image), QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), before);
}

// A station whose protocol, journal line or backup is not written ends "done, but" (4). With
// several stations the exit code is the worst station's: another's link failure (3), plan not
// saved (2) or refusal (1) is worse.
TEST(SaveFaults, RecordNotWrittenExitsFourUnlessAnotherStationFaredWorse)
{
    QTemporaryDir dir;
    SaveScene scene(dir.path(), 1);
    const QString plan = scene.planSource(dir.path());
    const QString held = dir.filePath(QStringLiteral("held.bin"));
    const QString large = dir.filePath(QStringLiteral("large.ini"));
    ASSERT_EQ(runCliCommand({QStringLiteral("image"), plan, QStringLiteral("-o"), held}).exitCode, 0);
    ASSERT_EQ(runCliCommand({QStringLiteral("template"), QStringLiteral("--count"), QStringLiteral("99"),
                             QStringLiteral("-o"), large})
                  .exitCode,
              0);
    ASSERT_EQ(
        runCliCommand({QStringLiteral("image"), large, QStringLiteral("-o"), large + QStringLiteral(".bin")})
            .exitCode,
        0);
    test::StationProcess holding({QStringLiteral("--image"), held});
    test::StationProcess holdingLarge({QStringLiteral("--image"), large + QStringLiteral(".bin")});
    test::StationProcess empty;
    test::StationProcess silent({QStringLiteral("--silent-after"), QStringLiteral("0")});
    // A journal already past the limit: no line of the run fits.
    const QString fullJournal = dir.filePath(QStringLiteral("full.csv"));
    JournalEntry longEntry;
    longEntry.message = QString(5000, u'x');
    ASSERT_TRUE(files::appendJournal(fullJournal, longEntry).isEmpty());
    const QString port = QStringLiteral("--port");
    const QString fleetProtocols = dir.filePath(QStringLiteral("fleet-protocols"));
    // The protocol (about 3 KB) outgrows 2 KB, not 4 KB; the one-channel plan and the backups of
    // its reads (0.5 KB) fit in both, the 99-channel plan (21 KB) in neither.
    const struct
    {
        const char* name;
        QStringList arguments;
        rlim_t limit;
        QString journal;
        int exitCode;
    } cases[] = {
        {"protocol not saved",
         {QStringLiteral("write"), plan, port, holding.path(), QStringLiteral("--verify"),
          QStringLiteral("--serial"), QStringLiteral("7"), QStringLiteral("--protocol"),
          dir.filePath(QStringLiteral("protocols"))},
         2048,
         scene.journalPath,
         4},
        {"journal full, another station silent",
         {QStringLiteral("write"), plan, port, holding.path() + QStringLiteral("=7"), port, silent.path(),
          QStringLiteral("--verify"), QStringLiteral("--protocol"), fleetProtocols},
         4096,
         fullJournal,
         3},
        {"journal full, another station differs",
         {QStringLiteral("verify"), plan, port, holding.path(), port, empty.path()},
         4096,
         fullJournal,
         1},
        {"journal full, another station's plan not saved",
         {QStringLiteral("read"), port, holding.path(), port, holdingLarge.path(), QStringLiteral("-o"),
          dir.filePath(QStringLiteral("read2"))},
         4096,
         fullJournal,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const rlim_t limit = c.limit;
        const CliRun cli = runCliCommand(c.arguments + QStringList{QStringLiteral("--journal"), c.journal},
                                         [limit] { FileSizeLimit::applyInChild(limit); });
        EXPECT_EQ(cli.exitCode, c.exitCode) << cli.err.toStdString();
        EXPECT_TRUE(cli.err.contains(TooLarge)) << cli.err.toStdString();
    }
    // A station whose journal line failed still holds the plan, and gets its protocol.
    EXPECT_TRUE(QFileInfo::exists(fleetProtocols + QStringLiteral("/Протокол 7.docx")));
}

TEST(SaveFaults, ImageOntoAFileOfAnotherUserIsRefused)
{
    // A file the user may not write in a folder the user may not write: as root, the command
    // runs as "nobody"; as anyone else, the permissions do it.
    QTemporaryDir dir;
    SaveScene scene(dir.path(), 1);
    ASSERT_TRUE(scene.writeEarlierFiles());
    const QString source = scene.planSource(dir.path());
    ASSERT_EQ(chmod(QFile::encodeName(source).constData(), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(scene.imagePath).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const bool root = geteuid() == 0;

    const CliRun cli = runImageCommand(source, scene.imagePath, [root] {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    });
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    if (root && !cli.started)
        GTEST_SKIP() << "the user nobody cannot reach yalmera-cli here (a private folder above the build)";
    ASSERT_NE(cli.exitCode, 99) << "could not drop to the user nobody";
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(scene.imagePath, notWritable(scene.imagePath)));
    scene.expectEarlierFilesIntact();
}

// ---- A small file system of the test's own: full, then read-only --------------------------------

class SaveFaultsOnTmpfs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mountPoint.isValid());
        m_path = QFile::encodeName(m_mountPoint.path());
        if (::mount("yalmera-test", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=64k,mode=0755") != 0)
            GTEST_SKIP() << "mounting a tmpfs is not permitted here (" << std::strerror(errno)
                         << "); the unprivileged fault cases still run";
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }

    QString folder() const { return m_mountPoint.path(); }

    bool remountReadOnly()
    {
        return ::mount("yalmera-test", m_path.constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, "size=64k,mode=0755") == 0;
    }

    // Fills the file system to the last byte.
    bool fill()
    {
        const QByteArray path = QFile::encodeName(QDir(folder()).filePath(QStringLiteral("filler")));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray chunk(512, 'f');
        while (::write(fd, chunk.constData(), static_cast<size_t>(chunk.size())) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }

    QTemporaryDir m_mountPoint;
    QTemporaryDir m_outside; // the plan the image command reads lies outside the tmpfs
    QByteArray m_path;
    bool m_mounted = false;
};

TEST_F(SaveFaultsOnTmpfs, FullDiskLeavesTheEarlierFilesWhole)
{
    SaveScene scene(folder());
    ASSERT_TRUE(scene.writeEarlierFiles());
    const QString source = scene.planSource(m_outside.path());
    ASSERT_TRUE(fill());
    const QStringList before = entries(folder());

    scene.expectEverySaveToFail(folder(), NoSpaceInRussian);
    const CliRun cli = runImageCommand(source, scene.imagePath);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(scene.imagePath, NoSpace));

    scene.expectEarlierFilesIntact();
    EXPECT_EQ(entries(folder()), before);
}

TEST_F(SaveFaultsOnTmpfs, ReadOnlyFileSystemLeavesTheEarlierFilesWhole)
{
    SaveScene scene(folder(), 3);
    ASSERT_TRUE(scene.writeEarlierFiles());
    const QString source = scene.planSource(m_outside.path());
    ASSERT_TRUE(remountReadOnly()) << std::strerror(errno);
    const QStringList before = entries(folder());

    EXPECT_EQ(scene.savePlan(scene.planPath), UserMessage::failure(notWritable(scene.planPath)));
    const CliRun cli = runImageCommand(source, scene.imagePath);
    EXPECT_EQ(cli.exitCode, 2);
    EXPECT_EQ(cli.err, imageFailure(scene.imagePath, notWritable(scene.imagePath)));
    // A new name cannot be created either.
    const QString readOnly =
        test::saidInRussian(u"Диск или файловая система только для чтения", u"Read-only file system"_qs);
    EXPECT_EQ(scene.savePlan(QDir(folder()).filePath(QStringLiteral("new.ini"))),
              UserMessage::failure(readOnly));
    EXPECT_EQ(scene.saveProtocol(folder()).error, UserMessage::failure(readOnly));

    scene.expectEarlierFilesIntact();
    EXPECT_EQ(entries(folder()), before);
}

#endif // Q_OS_LINUX

} // namespace
} // namespace yalmera::hardening
