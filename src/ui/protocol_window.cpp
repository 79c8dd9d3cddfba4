#include "protocol_window.h"

#include "ui_texts.h"
#include "user_feedback.h"

#include "report/protocol_document.h"
#include "report/protocol_file.h"
#include "report/protocol_pdf.h"
#include "report/report_texts.h"
#include "session/app_state.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

namespace yalmera::ui {

ProtocolWindow::ProtocolWindow(AppState& state, UserInterfaceFeedback& feedback, QWidget* parent)
    : QWidget(parent), m_state(state), m_feedback(feedback),
      m_outputFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
      m_openDocument([](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
{
    setObjectName(QStringLiteral("FormProtokol"));
    setWindowTitle(texts::ui::ProtocolCaption.toString());
    // No title-bar buttons: "Выход" is the way back.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);

    auto* label = new QLabel(texts::ui::SerialNumberLabel.toString(), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(red);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(8, 8, 321, 20);

    m_serialNumber = new QLineEdit(texts::report::InitialSerialNumber.toString(), this);
    m_serialNumber->setObjectName(QStringLiteral("Edit1"));
    m_serialNumber->setGeometry(8, 34, 321, 24);

    auto* create = new QPushButton(texts::ui::ProtocolCreateButton.toString(), this);
    create->setObjectName(QStringLiteral("BitBtn1"));
    create->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    create->setGeometry(8, 74, 102, 30);
    auto* preview = new QPushButton(texts::ui::ProtocolPreviewButton.toString(), this);
    preview->setObjectName(QStringLiteral("BitBtn3"));
    preview->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    preview->setGeometry(117, 74, 103, 30);
    auto* exit = new QPushButton(texts::ui::ProtocolExitButton.toString(), this);
    exit->setObjectName(QStringLiteral("BitBtn2"));
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    exit->setGeometry(227, 74, 102, 30);

    for (QPushButton* button : {create, preview, exit})
        button->setAutoDefault(true);
    connect(create, &QPushButton::clicked, this, &ProtocolWindow::createProtocol);
    connect(preview, &QPushButton::clicked, this, &ProtocolWindow::previewProtocol);
    connect(exit, &QPushButton::clicked, this, &ProtocolWindow::leave);
}

bool ProtocolWindow::refuseWithoutCheck()
{
    const UserMessage refusal = report::protocolRefusal(m_state, report::ProtocolRequest::Create);
    if (refusal.isEmpty())
        return false;
    m_feedback.show(refusal, this);
    return true;
}

void ProtocolWindow::createProtocol()
{
    if (refuseWithoutCheck())
        return;
    const report::ProtocolDocument document = report::buildProtocolDocument(m_state, m_serialNumber->text());
    const report::SavedProtocol saved = report::saveProtocolDocx(document, m_outputFolder);
    if (!saved.error.isEmpty()) {
        m_feedback.show(saved.error, this);
        return;
    }
    m_lastSavedPath = saved.path;
    if (m_openDocument && m_openDocument(saved.path))
        return;
    const QString question = texts::ui::ProtocolSavedAt.toString().arg(QDir::toNativeSeparators(saved.path)) +
                             u'\n' + texts::ui::ProtocolNotOpened.toString();
    if (m_feedback.ask(question, false, this) == Answer::Yes)
        previewProtocol();
}

QString ProtocolWindow::serialNumber() const
{
    const QString text = m_serialNumber->text().trimmed();
    return text == texts::report::InitialSerialNumber ? QString() : text;
}

void ProtocolWindow::paintPreview(QPrinter* printer)
{
    const report::ProtocolDocument document = report::buildProtocolDocument(m_state, m_serialNumber->text());
    if (!report::paintProtocol(document, *printer))
        m_feedback.show(UserMessage::failure(texts::report::CannotPaintPreview.toString()), this);
}

void ProtocolWindow::previewProtocol()
{
    if (refuseWithoutCheck())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(texts::ui::ProtocolCaption.toString());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &ProtocolWindow::paintPreview);
    dialog.exec();
}

void ProtocolWindow::leave()
{
    hide();
    emit left();
}

} // namespace yalmera::ui
