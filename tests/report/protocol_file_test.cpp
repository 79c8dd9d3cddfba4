#include "report/protocol_file.h"
#include "report_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::report;

TEST(ProtocolFileName, ReplacesWhatAFileNameCannotHold)
{
    const struct
    {
        QString serial;
        QString name;
    } cases[] = {
        {u"К17М-12345"_qs, u"Протокол К17М-12345.docx"_qs},
        {QString(), u"Протокол.docx"_qs},
        {u"a\\b/c:d*e?f\"g<h>i|j"_qs, u"Протокол a_b_c_d_e_f_g_h_i_j.docx"_qs},
        {u"tab\there\nnl\x7f"_qs, u"Протокол tab_here_nl_.docx"_qs},
        {u"12. . "_qs, u"Протокол 12____.docx"_qs},
        {u"..."_qs, u"Протокол ___.docx"_qs},
        {u"  lead"_qs, u"Протокол   lead.docx"_qs},
        {u"К17.М"_qs, u"Протокол К17.М.docx"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(protocolFileName(c.serial), c.name) << c.serial.toStdString();
}

TEST(ProtocolFileName, VeryLongSerialIsShortenedWithinFileSystemLimits)
{
    const QString name = protocolFileName(QString(300, u'Ж'));
    EXPECT_LE(name.toUtf8().size() + 7, 255); // room left for " (9999)"
    EXPECT_TRUE(name.startsWith(u"Протокол ЖЖЖ"_qs));
    EXPECT_TRUE(name.endsWith(u"Ж.docx"_qs));
    // A surrogate pair is never cut in half.
    const QString emoji =
        protocolFileName(QString(150, u'a') + QString::fromUcs4(U"\U0001F4FB").repeated(30));
    EXPECT_FALSE(emoji.contains(QChar(QChar::ReplacementCharacter)));
    for (qsizetype i = 0; i < emoji.size(); ++i) {
        if (emoji[i].isHighSurrogate()) {
            EXPECT_TRUE(i + 1 < emoji.size() && emoji[i + 1].isLowSurrogate());
        }
    }
}

TEST(ProtocolSaving, NeverOverwritesAnEarlierProtocol)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(2), u"К17М/1"_qs);

    QFile earlier(dir.filePath(u"Протокол К17М_1.docx"_qs));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    const SavedProtocol second = saveProtocolDocx(document, dir.path());
    ASSERT_TRUE(second.error.isEmpty()) << second.error.text.toStdString();
    EXPECT_EQ(second.path, dir.filePath(u"Протокол К17М_1 (2).docx"_qs));
    const SavedProtocol third = saveProtocolDocx(document, dir.path());
    EXPECT_EQ(third.path, dir.filePath(u"Протокол К17М_1 (3).docx"_qs));

    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    QFile saved(third.path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(unzipped(saved.readAll()).size(), 6);
    // Nothing else was left behind (no temporary files).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(ProtocolSaving, CreatesAMissingFolderAndReportsOneThatCannotBe)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProtocolDocument document = buildProtocolDocument(checkedPlan(1), QString());

    const SavedProtocol saved = saveProtocolDocx(document, dir.filePath(u"Документы/новая"_qs));
    ASSERT_TRUE(saved.error.isEmpty());
    EXPECT_EQ(saved.path, dir.filePath(u"Документы/новая/Протокол.docx"_qs));
    EXPECT_TRUE(QFileInfo(saved.path).isFile());

    QFile blocker(dir.filePath(u"file"_qs)); // a folder cannot be made below a plain file
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SavedProtocol refused = saveProtocolDocx(document, dir.filePath(u"file/sub"_qs));
    EXPECT_TRUE(refused.path.isEmpty());
    EXPECT_EQ(refused.error.kind, MessageKind::Failure);
    EXPECT_TRUE(refused.error.text.contains(u"sub"_qs));
}

TEST(ProtocolSaving, ReadOnlyFolderGivesThePlatformsErrorAndLeavesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile probe(dir.filePath(u"probe"_qs)); probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    const SavedProtocol refused =
        saveProtocolDocx(buildProtocolDocument(checkedPlan(1), u"1"_qs), dir.path());
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(refused.path.isEmpty());
    EXPECT_FALSE(refused.error.text.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
