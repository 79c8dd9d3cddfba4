#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QPrinter;

namespace yalmera {
class AppState;
}

namespace yalmera::ui {

class UserInterfaceFeedback;

// The protocol window ("FormProtokol"): the serial number, "Создать" saving the protocol as a
// word-processor document and opening it (where nothing opens it, saying where it is and offering
// the preview), "Просмотр" showing it in a print preview, and "Выход". Enter presses the button
// that has the focus.
// The program's own state is only read.
//
// Component names (objectName): Label1, Edit1 (serial number), BitBtn1 "Создать",
// BitBtn3 "Просмотр", BitBtn2 "Выход".
class ProtocolWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 337;  // px
    static constexpr int ClientHeight = 115; // px

    // Opens a saved document with the program the desktop associates with it; false when none.
    using DocumentOpener = std::function<bool(const QString& path)>;

    ProtocolWindow(AppState& state, UserInterfaceFeedback& feedback, QWidget* parent = nullptr);

    // Where protocols are saved: the user's documents folder unless set.
    void setOutputFolder(const QString& folder) { m_outputFolder = folder; }
    QString outputFolder() const { return m_outputFolder; }
    void setDocumentOpener(DocumentOpener opener) { m_openDocument = std::move(opener); }

    // The file the last "Создать" saved, empty before.
    QString lastSavedPath() const { return m_lastSavedPath; }
    // The serial number typed into Edit1, for the exchange journal; empty while the field holds
    // its example text or nothing.
    QString serialNumber() const;

    // Paints the protocol for the serial number shown onto a printer (the preview's pages).
    void paintPreview(QPrinter* printer);

public slots:
    void createProtocol();
    void previewProtocol();
    void leave();

signals:
    void left();

private:
    bool refuseWithoutCheck();

    AppState& m_state;
    UserInterfaceFeedback& m_feedback;
    QLineEdit* m_serialNumber = nullptr; // Edit1
    QString m_outputFolder;
    DocumentOpener m_openDocument;
    QString m_lastSavedPath;
};

} // namespace yalmera::ui
