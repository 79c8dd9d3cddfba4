#include "ui_test_support.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

class ProtocolWindowTest : public ::testing::Test, public ProgramFixture
{
protected:
    void SetUp() override
    {
        windows.show();
        protocol = &windows.protocolWindow();
        protocol->setOutputFolder(folder.path());
        protocol->setDocumentOpener([this](const QString& path) {
            opened.append(path);
            return openerWorks;
        });
    }

    void makeCheckedPlan()
    {
        main().findChild<QAction*>(QStringLiteral("N2"))->trigger();
        QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
        main().findChild<QAction*>(QStringLiteral("N19"))->trigger();
        ASSERT_TRUE(state.dataChecked());
        feedback.clear();
    }

    template <typename T = QWidget> T* protocolChild(const char* name)
    {
        return protocol->findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir folder;
    QStringList opened;
    bool openerWorks = true;
    ProtocolWindow* protocol = nullptr;
};

TEST_F(ProtocolWindowTest, OpensWithItsComponents)
{
    makeCheckedPlan();
    main().findChild<QAction*>(QStringLiteral("N21"))->trigger();
    ASSERT_TRUE(protocol->isVisible());
    EXPECT_EQ(protocol->windowTitle(), QStringLiteral("Создание протокола"));
    EXPECT_EQ(protocol->size(), QSize(337, 115));
    EXPECT_EQ(protocol->minimumSize(), protocol->maximumSize());
    EXPECT_FALSE(protocol->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                            Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    auto* label = protocolChild<QLabel>("Label1");
    EXPECT_EQ(label->text(), QStringLiteral("Серийный номер протокола"));
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(protocolChild<QLineEdit>("Edit1")->text(), QStringLiteral("К17М-12345"));
    EXPECT_EQ(protocolChild<QPushButton>("BitBtn1")->text(), QStringLiteral("Создать"));
    EXPECT_EQ(protocolChild<QPushButton>("BitBtn2")->text(), QStringLiteral("Выход"));
    testing::saveScreenshot(*protocol, QStringLiteral("protocol-window"));
}

TEST_F(ProtocolWindowTest, CreateIsRefusedWithoutACheck)
{
    makeCheckedPlan();
    main().findChild<QAction*>(QStringLiteral("N21"))->trigger();
    // A new template clears the gate while the window is open.
    QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    QTest::mouseClick(protocolChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(feedback.texts(),
              QStringList{QStringLiteral(
                  "Пока не будет произведена проверка данных, протокол создаваться не будет")});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(ProtocolWindowTest, CreateSavesTheDocumentUnderTheSerialNumberAndOpensIt)
{
    makeCheckedPlan();
    main().findChild<QAction*>(QStringLiteral("N21"))->trigger();
    const ChannelTable table = state.table();
    const QString settings = state.settings().text();

    protocolChild<QLineEdit>("Edit1")->setText(QStringLiteral("К17М-777"));
    QTest::mouseClick(protocolChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened[0]).fileName(), QStringLiteral("Протокол К17М-777.docx"));
    EXPECT_GT(QFileInfo(opened[0]).size(), 0);

    // A second press never overwrites the first document.
    QTest::mouseClick(protocolChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_TRUE(QFileInfo::exists(opened[0]));

    // Nothing of the program's own state changes.
    EXPECT_TRUE(state.dataChecked());
    EXPECT_EQ(state.table(), table);
    EXPECT_EQ(state.settings().text(), settings);
    EXPECT_TRUE(protocol->isVisible());
}

TEST_F(ProtocolWindowTest, SaysWhereTheDocumentIsWhenNothingOpensItAndOffersThePreview)
{
    makeCheckedPlan();
    openerWorks = false;
    protocol->show();
    feedback.answers.push_back(Answer::Yes);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        QWidget* preview = QApplication::activeModalWidget();
        ASSERT_NE(preview, nullptr);
        shown = preview->objectName();
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    QTest::mouseClick(protocolChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(feedback.questions.size(), 1);
    EXPECT_TRUE(feedback.questions[0].startsWith(
        QStringLiteral("Протокол сохранен в файле \"%1\".\nОткрыть его не удалось")
            .arg(QDir::toNativeSeparators(protocol->lastSavedPath()))));
    EXPECT_EQ(shown, QStringLiteral("PrintPreview"));
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), protocol);

    QTimer::singleShot(0, [] { // as the user sees it
        testing::saveScreenshot(*QApplication::activeModalWidget(), QStringLiteral("protocol-not-opened"));
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    MessageBoxFeedback().ask(feedback.questions[0], false, protocol);
}

TEST_F(ProtocolWindowTest, SaveFailureIsShown)
{
    makeCheckedPlan();
    QFile blocker(folder.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A file stands where the folder should be.
    protocol->setOutputFolder(folder.filePath(QStringLiteral("blocked/inner")));
    protocol->show();
    QTest::mouseClick(protocolChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].kind, MessageKind::Failure);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ProtocolWindowTest, PreviewPaintsThePages)
{
    makeCheckedPlan();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("preview.pdf")));
    protocol->paintPreview(&printer);
    EXPECT_GT(QFileInfo(folder.filePath(QStringLiteral("preview.pdf"))).size(), 1000);
}

} // namespace
} // namespace yalmera::ui
